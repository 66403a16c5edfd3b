#pragma once

#include <QString>

class QLineEdit;
class QTableWidget;

// How the cells of one column are marked as input that OK will not store, a
// character a row: "m" tinted and explained by a tooltip that is also the
// cell's accessible description, "-" neither, "?" anything in between.
QString columnMarks(const QTableWidget *table, int column);

// How a field is marked, beside a field of the same form that is not:
// "marked" tinted and explained by a tooltip that is also its accessible
// description, "plain" neither, "half marked" anything in between.
QString fieldMark(const QLineEdit *field, const QLineEdit *plain);
