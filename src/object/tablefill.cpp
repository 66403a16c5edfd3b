#include "tablefill.h"

#include "presencemap.h"
#include "schemapath.h"
#include "tablerows.h"
#include "tablesizing.h"

#include <QMetaObject>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

using TableRows::cellText;

// Appends `count` rows in one go, with one change notice for all of them;
// cellText is asked row by row, left to right.
template<typename CellText> void appendRows(QTableWidget *table, int count, CellText cellText)
{
    const int first = table->rowCount();
    const int columns = table->columnCount();
    if (count <= 0 || columns <= 0)
        return;
    table->setRowCount(first + count);
    // One change notice for all the rows instead of one per cell.
    QAbstractItemModel *model = table->model();
    {
        QSignalBlocker blocker(model);
        for (int i = 0; i < count; ++i) {
            for (int column = 0; column < columns; ++column) {
                const QString text = cellText(i, column);
                // An item without text is one allocation less, and reads the same.
                table->setItem(first + i, column,
                               text.isEmpty() ? new QTableWidgetItem : new QTableWidgetItem(text));
            }
        }
    }
    emit model->dataChanged(model->index(first, 0), model->index(first + count - 1, columns - 1));
}

} // namespace

namespace TableFill {

void showRows(QTableWidget *table, const QVector<ObjectRecord::Row> &rows,
              const SchemaPath::Base &base)
{
    appendRows(table, rows.size(), [&rows, &base](int row, int column) {
        const ObjectRecord::Row &r = rows.at(row);
        switch (column) {
        case 0:
            return r.id;
        case 1:
            return r.description;
        default:
            return base.toRelativePath(r.schema);
        }
    });
    QMetaObject::invokeMethod(table, "resizeColumnsToContents", Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        table, [table] { TableSizing::resizeRowsAfterColumns(table); }, Qt::QueuedConnection);
}

QVector<ObjectRecord::Row> rows(const QTableWidget *table, const SchemaPath::Base &base)
{
    QVector<ObjectRecord::Row> rows(table->rowCount());
    const bool withSchema = table->columnCount() > 2;
    for (int row = 0; row < rows.size(); ++row) {
        rows[row].id = cellText(table, row, 0);
        rows[row].description = cellText(table, row, 1);
        if (withSchema)
            rows[row].schema = base.toAbsolutePath(cellText(table, row, 2));
    }
    return rows;
}

void appendEmptyRow(QTableWidget *table)
{
    TableRows::appendRow(table);
    table->resizeRowsToContents();
}

void appendPresentNumbers(QTableWidget *table, const QByteArray &map, const QString &description)
{
    const int rows = table->rowCount();
    QVector<int> held;
    held.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        if (const QTableWidgetItem *item = table->item(row, 0))
            held.append(item->text().toInt());
    }
    const QVector<int> numbers = PresenceMap::missing(map, held);
    if (numbers.isEmpty())
        return;
    // A description with one "%1" and no other place marker is put together
    // from its two halves: the same text as arg() gives, without parsing the
    // pattern for every one of many rows.
    const int marker = description.indexOf(QLatin1String("%1"));
    const bool split = marker >= 0 && description.count(QLatin1Char('%')) == 1;
    const QString before = description.left(marker);
    const QString after = description.mid(marker + 2);
    QString numberText;
    appendRows(table, numbers.size(), [&](int i, int column) {
        const int number = numbers.at(i);
        switch (column) {
        case 0:
            numberText = QString::number(number);
            return numberText;
        case 1:
            return split ? before + numberText + after : description.arg(number);
        default:
            return QString();
        }
    });
    table->resizeColumnsToContents();
}

void showPhaseFiles(QTableWidget *table, const QVector<DrawingFolder::PhaseFile> &files,
                    const SchemaPath::Base &base, const QString &description)
{
    if (files.isEmpty())
        return;
    QVector<const DrawingFolder::PhaseFile *> numbered;
    numbered.reserve(files.size());
    for (const DrawingFolder::PhaseFile &file : files) {
        if (file.numbered)
            numbered.append(&file);
    }
    table->setRowCount(0);
    appendRows(table, numbered.size(), [&](int i, int column) {
        const DrawingFolder::PhaseFile &file = *numbered.at(i);
        switch (column) {
        case 0:
            return QString::number(file.number);
        case 1:
            return description.arg(file.number);
        default:
            return base.toRelativePath(file.path);
        }
    });
    // Sized over every row: a long folder listing would otherwise have its
    // rows measured one by one.
    TableSizing::resizeColumnsOverAllRows(table);
    TableSizing::resizeRowsAfterColumns(table, TableSizing::Columns::SizedOverAllRows);
}

} // namespace TableFill
