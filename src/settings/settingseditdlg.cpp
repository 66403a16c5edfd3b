#include "settingseditdlg.h"
#include "ui_settingseditdlg.h"

#include "modaldialog.h"
#include "settingscolumns.h"
#include "settingsfilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace {

// A section item carries this mark in column 0; any other item is a key.
const int SectionMarkRole = Qt::UserRole + 10;
const int SectionMark = 23;
// A key item read from the file holds the value it was read with, and every
// item read from it where it was read.
const int ReadValueRole = Qt::UserRole + 11;
const int WasReadRole = Qt::UserRole + 12;
const int OriginRole = Qt::UserRole + 13;

QTreeWidgetItem *newItem(const QStringList &texts)
{
    auto *item = new QTreeWidgetItem(texts);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

QTreeWidgetItem *newSectionItem(const QString &name)
{
    QTreeWidgetItem *item = newItem({name});
    item->setData(0, SectionMarkRole, SectionMark);
    return item;
}

bool isSection(const QTreeWidgetItem *item)
{
    return item->data(0, SectionMarkRole).toInt() == SectionMark;
}

// Items are built apart from the tree and added to it at once: each item
// added to a shown tree costs a model notification.
QList<QTreeWidgetItem *> itemsFromNodes(const SettingsNodes &nodes)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(nodes.size());
    for (const SettingsNode &node : nodes) {
        QTreeWidgetItem *item;
        if (node.isSection()) {
            item = newSectionItem(node.name);
        } else {
            item = newItem({QString(), node.name, node.text});
            if (node.wasRead)
                item->setData(2, ReadValueRole, node.readValue);
        }
        if (node.wasRead) {
            item->setData(2, WasReadRole, true);
            item->setData(2, OriginRole, node.origin);
        }
        if (!node.children.isEmpty())
            item->addChildren(itemsFromNodes(node.children));
        items.append(item);
    }
    return items;
}

SettingsNode nodeFromItem(const QTreeWidgetItem *item)
{
    SettingsNode node;
    if (isSection(item)) {
        node = SettingsNode::section(item->text(0));
    } else {
        node = SettingsNode::key(item->text(1), item->text(2));
        node.readValue = item->data(2, ReadValueRole);
    }
    node.wasRead = item->data(2, WasReadRole).toBool();
    node.origin = item->data(2, OriginRole).toString();
    const int count = item->childCount();
    node.children.reserve(count);
    for (int i = 0; i < count; ++i)
        node.children.append(nodeFromItem(item->child(i)));
    return node;
}

// Where "Add item" and "Add subsection" put what they make: the section that
// holds the selection, or else the first top-level item, whatever its kind.
QTreeWidgetItem *addTarget(const QTreeWidget *tree)
{
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    for (QTreeWidgetItem *item = selected.value(0); item; item = item->parent()) {
        if (isSection(item))
            return item;
    }
    return tree->topLevelItem(0);
}

// Why a file cannot be saved, naming the first line at fault.
QString faultText(const SettingsTree::ReadFault &fault, const IniDocument &document)
{
    using Cause = SettingsTree::ReadFault::Cause;
    if (fault.cause == Cause::None)
        return QString();
    const int line = fault.line < 0 ? -1 : document.lineNumber(fault.line);
    if (line > 0 && fault.cause == Cause::DamagedHeader)
        return SettingsEditDlg::tr("This file cannot be saved: the section header on line %1 "
                                   "does not close on its line.")
            .arg(line);
    if (line > 0 && fault.cause == Cause::UndecodableValue)
        return SettingsEditDlg::tr("This file cannot be saved: the value on line %1 claims more "
                                   "memory than there is.")
            .arg(line);
    if (line > 0 && fault.cause == Cause::TooDeep)
        return SettingsEditDlg::tr("This file cannot be saved: line %1 nests sections deeper "
                                   "than %2.")
            .arg(line)
            .arg(SettingsTree::MaxDepth);
    return SettingsEditDlg::tr("This file cannot be saved: it could not be read cleanly.");
}

} // namespace

SettingsEditDlg::SettingsEditDlg(QWidget *parent, int scope, const QString &fileName)
    : QDialog(parent)
    , ui(new Ui::SettingsEditDlg)
{
    ui->setupUi(this);

    QString path = fileName;
    if (path.isEmpty()) {
        const QSettings::Scope settingsScope =
            scope == QSettings::SystemScope ? QSettings::SystemScope : QSettings::UserScope;
        // The application's own file of that scope and that file alone: a
        // QSettings for a scope also reads the organisation's and the
        // system's files, and OK would copy their keys into this one.
        path = QSettings(QSettings::IniFormat, settingsScope, QCoreApplication::organizationName(),
                         QCoreApplication::applicationName())
                   .fileName();
    }
    // Always INI, whatever the platform's native format: the tree mirrors the
    // file's sections.
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_settings->setIniCodec("UTF-8");
    ui->fileName->setText(m_settings->fileName());

    m_readNodes = SettingsTree::read(*m_settings);
    // QSettings reports a damaged file only to the first object that parses it
    // in the process, and a host has long read its own files: the file's own
    // bytes are judged as well.
    QFile file(m_settings->fileName());
    const bool readable = !file.exists() || file.open(QIODevice::ReadOnly);
    m_document = IniDocument(file.isOpen() ? file.readAll() : QByteArray());
    if (readable)
        m_readFault = SettingsTree::readFault(*m_settings, m_document);
    else
        m_readFault.cause = SettingsTree::ReadFault::Cause::Unreadable;
    // Said before anything is edited in vain.
    ui->readStatus->setText(faultText(m_readFault, m_document));
    ui->readStatus->setHidden(ui->readStatus->text().isEmpty());
    // Read out with the tree too, for whoever reaches it by Tab.
    ui->propTree->setAccessibleDescription(ui->readStatus->text());
    ui->propTree->addTopLevelItems(itemsFromNodes(m_readNodes));
    setUpFilterAndColumns();
}

// Nothing is left pending in the settings object: OK writes at once.
SettingsEditDlg::~SettingsEditDlg() = default;

void SettingsEditDlg::accept()
{
    const QString shownName = QDir::toNativeSeparators(m_settings->fileName());
    // Writing what was read from a damaged or unreadable file would destroy
    // whatever the reading missed.
    if (m_readFault.cause != SettingsTree::ReadFault::Cause::None) {
        showError(
            tr("The file %1 was not saved because it could not be read cleanly.").arg(shownName));
        return;
    }

    SettingsNodes nodes;
    const QTreeWidgetItem *root = ui->propTree->invisibleRootItem();
    nodes.reserve(root->childCount());
    for (int i = 0; i < root->childCount(); ++i)
        nodes.append(nodeFromItem(root->child(i)));

    // An unedited tree is not written, so the file keeps its comments and
    // layout byte for byte.
    if (!SettingsTree::sameTree(nodes, m_readNodes)) {
        QString reason;
        if (!SettingsTree::save(nodes, m_settings->fileName(), &reason, &m_document)) {
            showError(tr("The file %1 could not be saved: %2").arg(shownName, reason));
            return;
        }
        // Settings objects of this process on the same file read it afresh.
        m_settings->sync();
    }
    QDialog::accept();
}

// The filter field above the tree, and the Section and Key columns sized to
// their texts; both once the tree is read.
void SettingsEditDlg::setUpFilterAndColumns()
{
    auto *filter = new SettingsFilter(ui->propTree, isSection);
    connect(ui->filter, &QLineEdit::textChanged, filter, &SettingsFilter::setText);
    new SettingsColumns(ui->propTree, isSection);
}

void SettingsEditDlg::showError(const QString &text)
{
    showCriticalBox(this, tr("Error"), text);
}

// Appends a key item to the section that holds the selection.
void SettingsEditDlg::on_add_clicked()
{
    if (QTreeWidgetItem *target = addTarget(ui->propTree))
        target->addChild(newItem({QString(), tr("key"), tr("value")}));
}

// Appends a section at the top level.
void SettingsEditDlg::on_addSection_clicked()
{
    ui->propTree->addTopLevelItem(newSectionItem(tr("Section")));
}

// Appends a section to the section that holds the selection.
void SettingsEditDlg::on_addSubsection_clicked()
{
    if (QTreeWidgetItem *target = addTarget(ui->propTree))
        target->addChild(newSectionItem(tr("Section")));
}

// Removes the selected items with their subtrees.
void SettingsEditDlg::on_remove_clicked()
{
    const QList<QTreeWidgetItem *> selected = ui->propTree->selectedItems();
    QList<QTreeWidgetItem *> removed;
    for (QTreeWidgetItem *item : selected) {
        // An item under another selected one goes with it.
        bool covered = false;
        for (QTreeWidgetItem *above = item->parent(); above && !covered; above = above->parent())
            covered = selected.contains(above);
        if (!covered)
            removed.append(item);
    }
    qDeleteAll(removed);
}
