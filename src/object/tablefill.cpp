#include "tablefill.h"

#include "presencemap.h"
#include "schemapath.h"
#include "tablerows.h"

#include <QHeaderView>
#include <QMetaObject>
#include <QRawFont>
#include <QSignalBlocker>
#include <QTableWidget>

#include <vector>

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

// Gives every row the height QTableView::resizeRowsToContents gives it, at a
// fraction of the cost on long tables. That call lays out the text of every
// cell; but the dialog's cells are plain items in the table's font, and every
// row whose cells hold plain text that does not wrap in its column (at least
// one of them non-empty) comes out as high as any other such row, so one of
// them is measured for all. A text surely does not wrap when it is no wider
// than one measured to fit its column: the widest plain text of all rows or
// else of the rows that sizing the columns looks at; every plain text, when
// the columns were sized over all rows. Other rows are measured one by one.
void resizeRowsAfterColumns(QTableWidget *table, bool columnsFitAllRows = false)
{
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
        table, [table] { resizeRowsAfterColumns(table); }, Qt::QueuedConnection);
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
    resizeColumnsOverAllRows(table);
    resizeRowsAfterColumns(table, true);
}

} // namespace TableFill
