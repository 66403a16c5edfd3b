#include "tablerows.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QTableWidget>

#include <algorithm>

namespace TableRows {

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

void appendRow(QTableWidget *table, const QStringList &texts)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < table->columnCount(); ++column)
        table->setItem(row, column, new QTableWidgetItem(texts.value(column)));
}

QList<int> selectedRows(const QTableWidget *table)
{
    QList<int> rows;
    QSet<int> seen;
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (!seen.contains(index.row())) {
            seen.insert(index.row());
            rows.append(index.row());
        }
    }
    return rows;
}

void removeRows(QTableWidget *table, const QList<int> &rows,
                const std::function<void(int row)> &removed)
{
    QList<int> descending = rows;
    std::sort(descending.begin(), descending.end(), std::greater<int>());
    descending.erase(std::unique(descending.begin(), descending.end()), descending.end());
    for (const int row : qAsConst(descending)) {
        table->removeRow(row);
        if (removed)
            removed(row);
    }
}

void removeSelectedRows(QTableWidget *table)
{
    removeRows(table, selectedRows(table));
}

} // namespace TableRows
