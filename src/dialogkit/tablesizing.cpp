#include "tablesizing.h"

#include "tablerows.h"

#include <QHeaderView>
#include <QLayout>
#include <QRawFont>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>

#include <vector>

namespace TableSizing {

namespace {

using TableRows::cellText;

// Texts laid out as one line in the table's own font: no line or paragraph
// break, and every character drawn by that font itself (a fallback font may
// have taller lines). Characters are looked up once each; a plain text's
// width is the sum of its glyphs' advances.
class PlainText
{
public:
    explicit PlainText(const QFont &font)
        : m_font(QRawFont::fromFont(font))
        , m_known(0x10000, Unknown)
    {
    }

    bool isPlain(const QString &text)
    {
        for (const QChar c : text) {
            if (c.isSurrogate())
                return false;
            char &known = m_known[c.unicode()];
            if (known == Unknown) {
                const bool breaks = c == QLatin1Char('\n') || c == QChar::LineSeparator
                                    || c == QChar::ParagraphSeparator;
                known = !breaks && m_font.supportsCharacter(c) ? Plain : Special;
            }
            if (known == Special)
                return false;
        }
        return true;
    }

    // Of a plain text, which holds no surrogates: one glyph per character.
    qreal advance(const QString &text)
    {
        int count = text.size();
        m_glyphs.resize(size_t(count));
        m_advances.resize(size_t(count));
        qreal advance = 0;
        if (count > 0
            && m_font.glyphIndexesForChars(text.constData(), count, m_glyphs.data(), &count)
            && m_font.advancesForGlyphIndexes(m_glyphs.data(), m_advances.data(), count,
                                              QRawFont::KernedAdvances)) {
            for (int i = 0; i < count; ++i)
                advance += m_advances[size_t(i)].x();
        }
        return advance;
    }

private:
    enum : char { Unknown, Plain, Special };
    QRawFont m_font;
    std::vector<char> m_known;
    std::vector<quint32> m_glyphs;
    std::vector<QPointF> m_advances;
};

} // namespace

void fitColumnsToContents(QTableWidget *table)
{
    table->ensurePolished();
    table->resizeColumnsToContents();
    const QAbstractItemView *view = table; // whose sizeHintForColumn is public
    int width = 2 * table->frameWidth() + table->verticalHeader()->sizeHint().width()
                + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    for (int column = 0; column < table->columnCount(); ++column) {
        width += qMax(view->sizeHintForColumn(column),
                      table->horizontalHeader()->sectionSizeHint(column));
    }

    // The layouts widen the window to the table's minimum width, which is
    // the wanted one only while they do.
    QWidget *window = table->window();
    const int minimum = table->minimumWidth();
    table->setMinimumWidth(qMax(minimum, width));
    for (QWidget *widget = table; widget != window; widget = widget->parentWidget())
        widget->updateGeometry();
    if (QLayout *layout = window->layout())
        layout->activate();
    table->setMinimumWidth(minimum);
    const int available = window->screen()->availableGeometry().width();
    if (window->width() > available)
        window->resize(available, window->height());
}

// Gives every row the height QTableView::resizeRowsToContents gives it, at a
// fraction of the cost on long tables. That call lays out the text of every
// cell; but where the cells are plain items in the table's font, every row
// whose cells hold plain text that does not wrap in its column (at least
// one of them non-empty) comes out as high as any other such row, so one of
// them is measured for all. A text surely does not wrap when it is no wider
// than one measured to fit its column: the widest plain text of all rows or
// else of the rows that sizing the columns looks at; every plain text, when
// the columns were sized over all rows. Other rows are measured one by one.
void resizeRowsAfterColumns(QTableWidget *table, Columns sized)
{
    const bool columnsFitAllRows = sized == Columns::SizedOverAllRows;
    const int rows = table->rowCount();
    const int columns = table->columnCount();
    const int precision = table->horizontalHeader()->resizeContentsPrecision();
    const int sampled = precision < 0 ? rows : qMin(rows, precision);
    const int grid = table->showGrid() ? 1 : 0;
    PlainText plain(table->font());

    // Per cell, row by row: its text's advance, or what else it holds.
    constexpr qreal Empty = -1;
    constexpr qreal NotPlain = -2;
    std::vector<qreal> advances(static_cast<size_t>(rows) * size_t(columns));
    std::vector<qreal> fits(size_t(columns), columnsFitAllRows ? 0 : -1);
    for (int column = 0; column < columns; ++column) {
        // The widest plain text of all rows, and of the sampled ones.
        int widest[2] = {-1, -1};
        qreal widestAdvance[2] = {-1, -1};
        for (int row = 0; row < rows; ++row) {
            const QString text = cellText(table, row, column);
            qreal &advance = advances[size_t(row) * size_t(columns) + size_t(column)];
            advance = text.isEmpty()         ? Empty
                      : !plain.isPlain(text) ? NotPlain
                      : columnsFitAllRows    ? 0
                                             : plain.advance(text);
            for (int i = 0; i < 2 && !columnsFitAllRows; ++i) {
                if ((i == 0 || row < sampled) && advance > widestAdvance[i]) {
                    widestAdvance[i] = advance;
                    widest[i] = row;
                }
            }
        }
        for (int i = 0; i < 2 && fits[size_t(column)] < 0; ++i) {
            const QModelIndex index = table->model()->index(widest[i], column);
            if (widest[i] >= 0
                && table->sizeHintForIndex(index).width() + grid <= table->columnWidth(column))
                fits[size_t(column)] = widestAdvance[i];
        }
    }

    std::vector<bool> uniform(static_cast<size_t>(rows));
    int sample = -1;
    for (int row = 0; row < rows; ++row) {
        bool hasText = false;
        bool fit = true;
        for (int column = 0; column < columns && fit; ++column) {
            const qreal advance = advances[size_t(row) * size_t(columns) + size_t(column)];
            hasText = hasText || advance != Empty;
            fit = advance == Empty || (advance >= 0 && advance <= fits[size_t(column)]);
        }
        uniform[size_t(row)] = hasText && fit;
        if (uniform[size_t(row)] && sample < 0)
            sample = row;
    }

    int height = 0;
    if (sample >= 0) {
        table->resizeRowToContents(sample);
        height = table->rowHeight(sample);
    }
    // A shown header works out where each resized row now lies, for its
    // repaint, which makes resizing row after row quadratic; one repaint at
    // the end does.
    const bool updates = table->updatesEnabled();
    table->setUpdatesEnabled(false);
    for (int row = 0; row < rows; ++row) {
        if (!uniform[size_t(row)])
            table->resizeRowToContents(row);
        else if (row != sample)
            table->setRowHeight(row, height);
    }
    table->setUpdatesEnabled(updates);
}

// Sizes every column to its widest cell over all rows, where
// resizeColumnsToContents looks at a sample of them on a long table. Cells of
// plain text are compared by their advances, and only the widest of them is
// measured by the view; other cells are measured one by one.
void resizeColumnsOverAllRows(QTableWidget *table)
{
    PlainText plain(table->font());
    QHeaderView *header = table->horizontalHeader();
    const int grid = table->showGrid() ? 1 : 0;
    for (int column = 0; column < table->columnCount(); ++column) {
        std::vector<int> measured;
        int widest = -1;
        qreal widestAdvance = -1;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QString text = cellText(table, row, column);
            if (!plain.isPlain(text)) {
                measured.push_back(row);
                continue;
            }
            const qreal advance = plain.advance(text);
            if (advance > widestAdvance) {
                widestAdvance = advance;
                widest = row;
            }
        }
        if (widest >= 0)
            measured.push_back(widest);
        int width = header->isHidden() ? 0 : header->sectionSizeHint(column);
        for (const int row : measured) {
            const QModelIndex index = table->model()->index(row, column);
            width = qMax(width, table->sizeHintForIndex(index).width() + grid);
        }
        header->resizeSection(column, width);
    }
}

} // namespace TableSizing
