#include "tablefill.h"

#include "presencemap.h"
#include "schemapath.h"

#include <QHeaderView>
#include <QMetaObject>
#include <QRawFont>
#include <QSignalBlocker>
#include <QTableWidget>

#include <set>
#include <vector>

namespace {

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

// Tells whether a text is laid out as one line in the table's own font: no
// line or paragraph break, and every character drawn by that font itself (a
// fallback font may have taller lines). Characters are looked up once each.
class SingleLineCheck
{
public:
    explicit SingleLineCheck(const QFont &font)
        : m_font(QRawFont::fromFont(font))
        , m_known(0x10000, Unknown)
    {
    }

    bool operator()(const QString &text)
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

private:
    enum : char { Unknown, Plain, Special };
    QRawFont m_font;
    std::vector<char> m_known;
};

// Gives every row the height QTableView::resizeRowsToContents gives it,
// provided the columns were just sized to their contents, at a fraction of
// the cost on long tables. That call lays out the text of every cell; but
// the dialog's cells are plain items in the table's font and, in columns
// sized to them, no text wraps: every row whose cells hold single-line text
// in that font (at least one of them non-empty) comes out as high as any
// other such row, so one of them is measured for all. Other rows are
// measured one by one. A table longer than the rows that sizing the columns
// looks at may wrap text and takes the plain call, unless the columns were
// sized over every row.
void resizeRowsAfterColumns(QTableWidget *table, bool columnsFitAllRows = false)
{
    const int rows = table->rowCount();
    const int columns = table->columnCount();
    const int precision = table->verticalHeader()->resizeContentsPrecision();
    if (!columnsFitAllRows && precision >= 0 && rows > precision) {
        table->resizeRowsToContents();
        return;
    }

    SingleLineCheck singleLine(table->font());
    std::vector<bool> uniform(rows);
    int sample = -1;
    for (int row = 0; row < rows; ++row) {
        bool hasText = false;
        bool plain = true;
        for (int column = 0; column < columns && plain; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            const QString text = item ? item->text() : QString();
            hasText = hasText || !text.isEmpty();
            plain = singleLine(text);
        }
        uniform[row] = hasText && plain;
        if (uniform[row] && sample < 0)
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
        if (!uniform[row])
            table->resizeRowToContents(row);
        else if (row != sample)
            table->setRowHeight(row, height);
    }
    table->setUpdatesEnabled(updates);
}

// Sizes every column to its widest cell over all rows, where
// resizeColumnsToContents looks at a sample of them on a long table. Cells of
// plain single-line text in the table's font are compared by their glyph
// advances, and only the widest of them is measured by the view; other cells
// are measured one by one. Afterwards no such text wraps in any row.
void resizeColumnsOverAllRows(QTableWidget *table)
{
    const QRawFont font = QRawFont::fromFont(table->font());
    SingleLineCheck singleLine(table->font());
    QHeaderView *header = table->horizontalHeader();
    const int grid = table->showGrid() ? 1 : 0;
    std::vector<quint32> glyphs;
    std::vector<QPointF> advances;
    for (int column = 0; column < table->columnCount(); ++column) {
        std::vector<int> measured;
        int widest = -1;
        qreal widestAdvance = -1;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem *item = table->item(row, column);
            const QString text = item ? item->text() : QString();
            if (!singleLine(text)) {
                measured.push_back(row);
                continue;
            }
            // Plain text holds no surrogates: one glyph per character.
            int count = text.size();
            glyphs.resize(size_t(count));
            advances.resize(size_t(count));
            qreal advance = 0;
            if (count > 0
                && font.glyphIndexesForChars(text.constData(), count, glyphs.data(), &count)
                && font.advancesForGlyphIndexes(glyphs.data(), advances.data(), count,
                                                QRawFont::KernedAdvances)) {
                for (int i = 0; i < count; ++i)
                    advance += advances[size_t(i)].x();
            }
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

void appendRows(QTableWidget *table, int count, const CellText &cellText)
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

void appendEmptyRow(QTableWidget *table)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < table->columnCount(); ++column)
        table->setItem(row, column, new QTableWidgetItem);
    table->resizeRowsToContents();
}

void removeSelectedRows(QTableWidget *table)
{
    // Indexes rather than items: a selected cell counts even without an item.
    std::set<int> rows;
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        rows.insert(index.row());
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        table->removeRow(*row);
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
