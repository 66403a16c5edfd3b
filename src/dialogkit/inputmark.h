#pragma once

#include <QString>

class QLineEdit;
class QTableWidgetItem;

// Marks input that OK will not store as Qt applications mark invalid input:
// the base colour tinted red from the widget's own palette, and a tooltip
// saying what is expected, which is also the accessible description that a
// screen reader reads out. An empty `problem` takes the mark away.
namespace InputMark {

// The field must have no palette of its own: unmarking gives it back the
// palette it inherits.
void mark(QLineEdit *field, const QString &problem);

// The item must be in a table, whose palette gives the base colour.
void mark(QTableWidgetItem *cell, const QString &problem);

} // namespace InputMark
