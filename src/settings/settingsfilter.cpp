#include "settingsfilter.h"

#include <QStringMatcher>
#include <QTreeWidget>

SettingsFilter::SettingsFilter(QTreeWidget *tree, SectionTest isSection)
    : QObject(tree)
    , m_tree(tree)
    , m_isSection(isSection)
{
    // While the tree is read the text is empty; later rows come from the
    // add buttons.
    connect(tree->model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &parent) { reveal(parent); });
}

void SettingsFilter::setText(const QString &text)
{
    if (text == m_text)
        return;
    const bool wasFiltering = !m_text.isEmpty();
    m_text = text;
    if (!wasFiltering) {
        m_expanded.clear();
        saveExpansion(QModelIndex());
    }

    QTreeWidgetItem *root = m_tree->invisibleRootItem();
    if (text.isEmpty()) {
        showAll(root);
        m_tree->collapseAll();
        for (const QPersistentModelIndex &index : qAsConst(m_expanded)) {
            if (index.isValid())
                m_tree->expand(index);
        }
        m_expanded.clear();
    } else {
        m_matcher = QStringMatcher(text, Qt::CaseInsensitive);
        for (int i = 0; i < root->childCount(); ++i)
            filter(root->child(i), false);
    }
}

// Shows the item when it matches, lies in a shown section that matched, or
// leads to a match; expands it when it shows children. Returns whether it is
// shown.
bool SettingsFilter::filter(QTreeWidgetItem *item, bool shownWhole)
{
    bool shown = shownWhole;
    if (!shown) {
        shown = m_isSection(item) ? m_matcher.indexIn(item->text(0)) >= 0
                                  : m_matcher.indexIn(item->text(1)) >= 0
                                        || m_matcher.indexIn(item->text(2)) >= 0;
    }
    const bool matched = shown;
    bool showsChildren = false;
    const int count = item->childCount();
    for (int i = 0; i < count; ++i)
        showsChildren = filter(item->child(i), matched) || showsChildren;
    shown = shown || showsChildren;
    item->setHidden(!shown);
    if (showsChildren)
        item->setExpanded(true);
    return shown;
}

void SettingsFilter::showAll(QTreeWidgetItem *item)
{
    const int count = item->childCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem *child = item->child(i);
        child->setHidden(false);
        showAll(child);
    }
}

void SettingsFilter::saveExpansion(const QModelIndex &parent)
{
    const QAbstractItemModel *model = m_tree->model();
    const int rows = model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (!model->hasChildren(index))
            continue;
        if (m_tree->isExpanded(index))
            m_expanded.append(index);
        // A collapsed section keeps the expansion of those it holds.
        saveExpansion(index);
    }
}

// An item added while filtering is shown, whatever the filter.
void SettingsFilter::reveal(const QModelIndex &parent)
{
    if (m_text.isEmpty())
        return;
    for (QModelIndex index = parent; index.isValid(); index = index.parent()) {
        m_tree->setRowHidden(index.row(), index.parent(), false);
        m_tree->expand(index);
    }
}
