#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QTableWidget;

// The rows of a dialog's table of plain text items: read, appended and
// removed alike in every dialog.
namespace TableRows {

// The cell's text; empty when the cell has no item.
QString cellText(const QTableWidget *table, int row, int column);

// Appends a row with an item in every cell, holding `texts` in column order;
// the cells beyond them are empty.
void appendRow(QTableWidget *table, const QStringList &texts = QStringList());

// The rows that hold a selected cell, each once, in the order in which the
// table lists its selected cells. Cells count by index, so that a selected
// cell without an item counts too.
QList<int> selectedRows(const QTableWidget *table);

// Removes the rows, each once, the last first, so that the rows still to go
// keep their numbers; `removed` is told each row once it is gone, for a list
// kept parallel to the table.
void removeRows(QTableWidget *table, const QList<int> &rows,
                const std::function<void(int row)> &removed = nullptr);

// Removes every row that holds a selected cell.
void removeSelectedRows(QTableWidget *table);

} // namespace TableRows
