#include "selectedrows.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QTableWidget>

#include <algorithm>
#include <functional>

QList<int> selectedRowsDescending(const QTableWidget *table)
{
    QSet<int> rows;
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    for (const QModelIndex &cell : cells)
        rows.insert(cell.row());
    QList<int> sorted = rows.values();
    std::sort(sorted.begin(), sorted.end(), std::greater<int>());
    return sorted;
}
