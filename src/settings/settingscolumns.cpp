#include "settingscolumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QRawFont>
#include <QTreeWidget>

#include <vector>

namespace {

// The longest texts of a column are found by their advances in the tree's
// font, one character at a time, without kerning; the few longest are then
// measured by the view itself. A text with a character that the font lacks
// (a fallback font draws it), a line break or a surrogate is always measured.
class Advances
{
public:
    explicit Advances(const QFont &font)
        : m_font(QRawFont::fromFont(font))
        , m_known(0x10000, Unknown)
    {
    }

    // Negative when the text needs measuring.
    qreal of(const QString &text)
    {
        qreal advance = 0;
        for (const QChar c : text) {
            float &known = m_known[c.unicode()];
            if (known == Unknown)
                known = lookUp(c);
            if (known < 0)
                return -1;
            advance += known;
        }
        return advance;
    }

private:
    static constexpr float Unknown = -2;

    float lookUp(QChar c) const
    {
        if (c.isSurrogate() || c == QLatin1Char('\n') || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator || !m_font.supportsCharacter(c))
            return -1;
        quint32 glyph = 0;
        int count = 1;
        QPointF advance;
        if (!m_font.glyphIndexesForChars(&c, 1, &glyph, &count) || count != 1
            || !m_font.advancesForGlyphIndexes(&glyph, &advance, 1))
            return -1;
        return float(advance.x());
    }

    QRawFont m_font;
    std::vector<float> m_known;
};

// The items of one column with the greatest estimates, one per text and
// indentation; kerning may reorder near ties, so several are kept.
class Longest
{
public:
    void consider(QTreeWidgetItem *item, int column, qreal estimate)
    {
        constexpr size_t Kept = 8;
        if (m_items.size() == Kept && estimate <= m_items.back().estimate)
            return;
        auto at = m_items.begin();
        while (at != m_items.end() && at->estimate > estimate)
            ++at;
        for (auto same = at; same != m_items.end() && same->estimate == estimate; ++same) {
            if (same->item->text(column) == item->text(column))
                return;
        }
        m_items.insert(at, {estimate, item});
        if (m_items.size() > Kept)
            m_items.pop_back();
    }

    template<typename Measure> int widest(Measure measure) const
    {
        int width = 0;
        for (const Entry &entry : m_items)
            width = qMax(width, measure(entry.item));
        return width;
    }

private:
    struct Entry
    {
        qreal estimate;
        QTreeWidgetItem *item;
    };
    std::vector<Entry> m_items;
};

int depthOf(QTreeWidgetItem *item)
{
    int depth = 0;
    for (QTreeWidgetItem *above = item->parent(); above; above = above->parent())
        ++depth;
    return depth;
}

QModelIndex indexOf(const QTreeWidget *tree, QTreeWidgetItem *item, int column)
{
    QTreeWidgetItem *parent = item->parent();
    if (!parent)
        return tree->model()->index(tree->indexOfTopLevelItem(item), column);
    return tree->model()->index(parent->indexOfChild(item), column, indexOf(tree, parent, 0));
}

QTreeWidgetItem *itemOf(const QTreeWidget *tree, const QModelIndex &index)
{
    if (!index.isValid())
        return tree->invisibleRootItem();
    QTreeWidgetItem *parent = itemOf(tree, index.parent());
    return parent ? parent->child(index.row()) : nullptr;
}

} // namespace

SettingsColumns::SettingsColumns(QTreeWidget *tree, SectionTest isSection)
    : QObject(tree)
    , m_tree(tree)
    , m_isSection(isSection)
{
    measureAll();
    fit();
    tree->viewport()->installEventFilter(this);
    connect(tree->model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                for (int row = first; row <= last; ++row)
                    grow(itemOf(m_tree, m_tree->model()->index(row, 0, parent)));
            });
    connect(tree, &QTreeWidget::itemChanged, this, &SettingsColumns::grow);
    connect(tree->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fitting && column < 2 && m_tree->isVisible())
            m_sizedByHand = true;
    });
}

bool SettingsColumns::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}

int SettingsColumns::textColumn(QTreeWidgetItem *item) const
{
    return m_isSection(item) ? 0 : 1;
}

// As the view sizes the item's column to its contents.
int SettingsColumns::widthOf(QTreeWidgetItem *item) const
{
    const int column = textColumn(item);
    const int width = m_tree->sizeHintForIndex(indexOf(m_tree, item, column)).width();
    if (column > 0)
        return width;
    const int levels = depthOf(item) + (m_tree->rootIsDecorated() ? 1 : 0);
    return width + levels * m_tree->indentation();
}

void SettingsColumns::measureAll()
{
    Advances advances(m_tree->font());
    Longest longest[2];
    const qreal indentation = m_tree->indentation();
    const int rootLevel = m_tree->rootIsDecorated() ? 1 : 0;
    const QHeaderView *header = m_tree->header();
    m_wanted[0] = header->sectionSizeHint(0);
    m_wanted[1] = header->sectionSizeHint(1);
    // Depth first, without the cost of an item iterator.
    std::vector<std::pair<QTreeWidgetItem *, int>> pending{
        {m_tree->invisibleRootItem(), rootLevel - 1}};
    while (!pending.empty()) {
        const auto [parent, level] = pending.back();
        pending.pop_back();
        for (int i = parent->childCount() - 1; i >= 0; --i) {
            QTreeWidgetItem *item = parent->child(i);
            if (item->childCount())
                pending.emplace_back(item, level + 1);
            const int column = textColumn(item);
            const qreal advance = advances.of(item->text(column));
            if (advance < 0)
                m_wanted[column] = qMax(m_wanted[column], widthOf(item));
            else
                longest[column].consider(item, column,
                                         advance + (column ? 0 : (level + 1) * indentation));
        }
    }
    for (int column = 0; column < 2; ++column) {
        m_wanted[column] = qMax(
            m_wanted[column], longest[column].widest([this](auto *item) { return widthOf(item); }));
    }
}

void SettingsColumns::grow(QTreeWidgetItem *item)
{
    if (!item)
        return;
    int &wanted = m_wanted[textColumn(item)];
    const int width = widthOf(item);
    if (width > wanted) {
        wanted = width;
        fit();
    }
}

// Section and Key get what they want while Value keeps a third of the width;
// else the wider gives way first.
void SettingsColumns::fit()
{
    if (m_sizedByHand)
        return;
    int section = m_wanted[0];
    int key = m_wanted[1];
    // Until the tree is shown its width is not yet that of the dialog.
    if (m_tree->isVisible()) {
        const int width = m_tree->viewport()->width();
        const int room = qMax(0, width - qMax(width / 3, m_tree->header()->sectionSizeHint(2)));
        if (section + key > room) {
            if (section <= room / 2) {
                key = room - section;
            } else if (key <= room / 2) {
                section = room - key;
            } else {
                section = room / 2;
                key = room - section;
            }
        }
    }
    m_fitting = true;
    m_tree->header()->resizeSection(0, section);
    m_tree->header()->resizeSection(1, key);
    m_fitting = false;
}
