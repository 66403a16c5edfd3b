#pragma once

#include <QString>

class QTableWidget;

// How the cells of one column are marked as input that OK will not store, a
// character a row: "m" tinted and explained by a tooltip, "-" neither, "?"
// only one of the two.
QString columnMarks(const QTableWidget *table, int column);
