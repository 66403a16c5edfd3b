#include "custompropseditdlg.h"
#include "ui_custompropseditdlg.h"

#include "customproperties.h"
#include "inputmark.h"
#include "tablerows.h"
#include "tablesizing.h"

#include <QKeyEvent>
#include <QMenu>

namespace {

enum Column { NameColumn = 0, ValueColumn = 1, DescriptionColumn = 2 };

// On a value cell: the value as the host gave it, where its text would not
// stand for it. Dropped as soon as the cell's text changes.
constexpr int KeptValueRole = Qt::UserRole;
// On the name cell of an entry that is no (value, description) list: the
// entry as the host gave it, wrapped in a list so that even an invalid value
// is kept. Dropped as soon as any cell of the row changes.
constexpr int KeptEntryRole = Qt::UserRole + 1;

bool isTextChange(const QVector<int> &roles)
{
    return roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole);
}

void markUnnamed(QTableWidgetItem *name)
{
    if (!name)
        return;
    InputMark::mark(name, CustomProperties::namesProperty(name->text())
                              ? QString()
                              : CustomPropsEditDlg::tr("A property without a name will not be "
                                                       "stored."));
}

} // namespace

CustomPropsEditDlg::CustomPropsEditDlg(QVariantMap properties, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CustomPropsEditDlg)
{
    ui->setupUi(this);

    QTableWidget *table = ui->propsTable;
    int row = 0;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it, ++row) {
        table->insertRow(row);
        auto *nameItem = new QTableWidgetItem(it.key());
        table->setItem(row, NameColumn, nameItem);
        markUnnamed(nameItem);
        const QVariantList entry = it.value().toList();
        if (entry.size() < 2) {
            qWarning("Invalid propery %s value", it.key().toLocal8Bit().constData());
            nameItem->setData(KeptEntryRole, QVariantList{it.value()});
            continue;
        }
        const QVariant value = entry.first();
        auto *valueItem = new QTableWidgetItem(value.toString());
        if (!CustomProperties::textKeepsValue(value))
            valueItem->setData(KeptValueRole, value);
        table->setItem(row, ValueColumn, valueItem);
        table->setItem(row, DescriptionColumn, new QTableWidgetItem(entry.last().toString()));
    }
    TableSizing::fitColumnsToContents(table);

    connect(table->model(), &QAbstractItemModel::dataChanged, this,
            &CustomPropsEditDlg::forgetEditedValues);
    connect(table->model(), &QAbstractItemModel::dataChanged, this,
            [table](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                    const QVector<int> &roles) {
                if (topLeft.column() != NameColumn || !isTextChange(roles))
                    return;
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                    markUnnamed(table->item(row, NameColumn));
            });
}

CustomPropsEditDlg::~CustomPropsEditDlg() = default;

QVariantMap CustomPropsEditDlg::properties() const
{
    const QTableWidget *table = ui->propsTable;
    using TableRows::cellText;
    QVariantMap map;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString name = cellText(table, row, NameColumn);
        if (!CustomProperties::namesProperty(name))
            continue;
        const QVariant keptEntry = table->item(row, NameColumn)->data(KeptEntryRole);
        if (keptEntry.isValid()) {
            map.insert(name, keptEntry.toList().value(0));
            continue;
        }
        QVariant value = cellText(table, row, ValueColumn);
        if (const QTableWidgetItem *item = table->item(row, ValueColumn)) {
            const QVariant kept = item->data(KeptValueRole);
            if (kept.isValid())
                value = kept;
        }
        map.insert(name, QVariantList{value, cellText(table, row, DescriptionColumn)});
    }
    return map;
}

void CustomPropsEditDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Insert) {
        addProperty();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && !TableRows::selectedRows(ui->propsTable).isEmpty()) {
        removeProperty();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CustomPropsEditDlg::addProperty()
{
    QTableWidget *table = ui->propsTable;
    const int row = table->rowCount();
    TableRows::appendRow(table);
    markUnnamed(table->item(row, NameColumn));
    table->setCurrentCell(row, NameColumn);
}

void CustomPropsEditDlg::removeProperty()
{
    QTableWidget *table = ui->propsTable;
    const QList<int> rows = TableRows::selectedRows(table);
    if (rows.isEmpty())
        return;

    // Made current first, which changes the selection: the rows to remove are
    // those selected before.
    const int next = CustomProperties::rowAfterRemoval(rows, table->rowCount());
    if (next >= 0 && table->item(next, NameColumn))
        table->setCurrentCell(next, NameColumn);
    TableRows::removeRows(table, rows);
}

void CustomPropsEditDlg::on_propsTable_customContextMenuRequested(const QPoint &pos)
{
    // No parent: should the dialog go while the menu runs, the menu must not
    // go with it from under its own exec().
    QMenu menu;
    QAction *add = menu.addAction(tr("Add"), this, &CustomPropsEditDlg::addProperty);
    add->setShortcut(Qt::Key_Insert);
    if (!TableRows::selectedRows(ui->propsTable).isEmpty()) {
        QAction *remove = menu.addAction(tr("Remove"), this, &CustomPropsEditDlg::removeProperty);
        remove->setShortcut(QKeySequence::Delete);
    }
    // The position is the viewport's, below the header.
    menu.exec(ui->propsTable->viewport()->mapToGlobal(pos));
}

void CustomPropsEditDlg::forgetEditedValues(const QModelIndex &topLeft,
                                            const QModelIndex &bottomRight,
                                            const QVector<int> &roles)
{
    if (!isTextChange(roles))
        return;
    const bool valueChanged =
        topLeft.column() <= ValueColumn && bottomRight.column() >= ValueColumn;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        QTableWidgetItem *name = ui->propsTable->item(row, NameColumn);
        if (name && name->data(KeptEntryRole).isValid())
            name->setData(KeptEntryRole, QVariant());
        QTableWidgetItem *value = ui->propsTable->item(row, ValueColumn);
        if (valueChanged && value && value->data(KeptValueRole).isValid())
            value->setData(KeptValueRole, QVariant());
    }
}
