#pragma once

#include <QString>

class QTableWidget;

// How the cells of one column are marked as input that OK will not store, a
// character a row: "m" tinted and explained by a tooltip that is also the
// cell's accessible description, "-" neither, "?" anything in between.
QString columnMarks(const QTableWidget *table, int column);
