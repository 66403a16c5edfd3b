#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVector>

// The lines of an INI file as QSettings' INI parser splits them, each with its
// byte span, read from the file's own bytes (so independent of QSettings'
// per-process cache). A file is clean when QSettings reads it without a format
// error and no quoted value runs on past its line.
class IniDocument
{
public:
    enum class LineKind { Blank, Comment, Section, Key, Damaged };
    // Why QSettings does not read a line as a clean file's line: it skips a
    // line without "=" that is no section header (a "#" comment, say; so is
    // a byte order mark before anything but a key); a quoted value runs on
    // over the lines after it; a section header does not close on its line.
    enum class Fault { None, Skipped, QuoteOverLineBreak, DamagedHeader };

    // One entry of the file: a physical line, or several when a value runs on
    // over a line break (an escaped line break, or an open quote). All
    // positions are byte offsets into bytes(); a trailing comment belongs to
    // its line.
    struct Line
    {
        LineKind kind = LineKind::Blank;
        int begin = 0; // first byte
        int end = 0;   // past the line break
        // A section's name between the brackets, or a key's text before "=".
        int nameBegin = 0;
        int nameEnd = 0;
        // A key's value without the spaces and tabs around it; for a section,
        // the rest of its line from the closing bracket on.
        int valueBegin = 0;
        int valueEnd = 0;
        // The section line this line belongs to; -1 for the top of the file.
        int section = -1;
        Fault fault = Fault::None;
    };

    IniDocument() = default;
    explicit IniDocument(const QByteArray &bytes);

    const QByteArray &bytes() const { return m_bytes; }
    const QVector<Line> &lines() const { return m_lines; }

    // Whether QSettings reports a FormatError for these bytes on a fresh path.
    bool hasFormatError() const { return m_formatError; }
    // Whether a value runs on over a raw line break inside quotes, swallowing
    // the lines after it: QSettings reads that without an error, but never
    // writes it.
    bool hasQuoteOverLineBreak() const { return m_quoteOverLineBreak; }
    bool isClean() const { return !m_formatError && !m_quoteOverLineBreak; }
    // Whether the last line ends, without a line break, in an open quote or a
    // backslash: a line after it would be read as part of its value, unless
    // edited() closes it first (which keeps its value).
    bool endsOpen() const { return !m_closing.isEmpty(); }
    // The first line at fault, and the first damaged section header (indexes
    // into lines()); -1 for none.
    int firstFault() const { return m_firstFault; }
    int firstDamagedHeader() const { return m_firstDamagedHeader; }
    // The number a text editor shows for the first line of lines()[index].
    int lineNumber(int index) const;

    // What QSettings puts before the keys of a section line (index into
    // lines(), -1 for the top of the file): its path and a slash, or nothing
    // for the top of the file and "[General]".
    QString sectionPrefix(int section) const;
    // A key line's key as QSettings reads it: relative to its section, and
    // with the section's prefix.
    QString keyName(const Line &line) const;
    QString keyPath(const Line &line) const;
    QByteArray value(const Line &line) const;
    // The line break the file uses first ("\n" when it has none).
    QByteArray lineBreak() const;

    // Changes of lines, by index into lines(), made at once by edited().
    struct Edits
    {
        QHash<int, QByteArray> names;  // between a section's brackets, or a key's text
        QHash<int, QByteArray> values; // a key's value
        QSet<int> removed;
        // Lines inserted after a line (-1: at the top), without line breaks.
        QHash<int, QByteArrayList> after;
        QByteArrayList appended; // lines added at the end
    };
    // The file with the edits made; every other byte as it was.
    QByteArray edited(const Edits &edits) const;

    // How QSettings writes a key (a path relative to its section), and a text
    // value: escapes, quotes, "@" doubled, "@String()" around a NUL.
    static QByteArray escapedKey(const QString &key);
    static QByteArray escapedText(const QString &text);
    // How QSettings writes a byte array value, without the quotes it puts
    // around one holding ",", ";" or "=".
    static QByteArray escapedBytes(const QByteArray &bytes);
    // How QSettings writes the items of a list, ", " between them.
    static QByteArray escapedItems(const QVariantList &items);
    // A value as a file holds it so that QSettings reads exactly that value
    // back: as QSettings writes it where that reads back alike, else encoded
    // ("@Variant(...)"), as a number, or a list of fewer than two items, is.
    static QByteArray escapedValue(const QVariant &value);
    // What QSettings reads from a key's value text (the bytes after "="): a
    // text, a list where a comma stands outside quotes, or what an "@" form
    // encodes. A form that cannot be decoded without running out of memory
    // reads as a text (and sets *outOfMemory).
    static QVariant decodedValue(const QByteArray &text, bool *outOfMemory = nullptr);
    // Whether two values are the same: of one type, and equal or streamed
    // alike (a NaN is unequal to itself; QVariant's own comparison converts).
    static bool sameValue(const QVariant &a, const QVariant &b);
    // A section's name between the brackets that QSettings reads as `path`;
    // "General" for the top of the file.
    static QByteArray sectionName(const QString &path);

private:
    // One line as QSettings' INI parser reads it, before it is classified.
    struct RawLine
    {
        int begin = 0;       // first byte
        int start = 0;       // first byte that is neither a space nor a tab
        int logicalEnd = -1; // at the line break or ";" that ends it; -1 when blank or a comment
        int end = 0;         // past the line break
        int equals = -1;     // the first "=" outside quotes
        bool quoteOverLineBreak = false;
        QByteArray closing; // for a line that ends the bytes: what closes it
    };

    void parse();
    static RawLine readLine(const QByteArray &bytes, int pos, bool afterByteOrderMark);
    Line classified(const RawLine &raw, int section);

    QByteArray m_bytes;
    QVector<Line> m_lines;
    bool m_formatError = false;
    bool m_quoteOverLineBreak = false;
    int m_firstFault = -1;
    int m_firstDamagedHeader = -1;
    // A last line without a line break may end in an open quote, or in a
    // backslash: what closes it so that the value reads the same.
    QByteArray m_closing;
};
