#include "inidocument.h"

namespace {

bool isBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Past the line break that ends the physical line holding `pos`.
int physicalEnd(const QByteArray &bytes, int pos)
{
    const int size = bytes.size();
    while (pos < size && !isBreak(bytes.at(pos)))
        ++pos;
    if (pos < size)
        pos += bytes.at(pos) == '\r' && pos + 1 < size && bytes.at(pos + 1) == '\n' ? 2 : 1;
    return pos;
}

// What QSettings makes of a key's text: "\" stands for "/", "%XX" and
// "%UXXXX" for a character; other bytes are Latin-1.
void unescapeKey(const QByteArray &key, int from, int to, QString &result)
{
    result.reserve(result.size() + (to - from));
    int i = from;
    while (i < to) {
        const uchar ch = uchar(key.at(i));
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            result += QLatin1Char(char(ch));
            ++i;
            continue;
        }
        int digits = 2;
        int first = i + 1;
        if (key.at(i + 1) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        // Parsed as an int, as QSettings does: "%-F" is U+FFF1.
        const int code = first + digits > to ? 0 : key.mid(first, digits).toInt(&ok, 16);
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(ushort(code));
        i = first + digits;
    }
}

} // namespace

IniDocument::IniDocument(const QByteArray &bytes)
    : m_bytes(bytes)
{
    parse();
}

// Follows QSettings' INI parser line by line: a line starts at its first byte
// that is neither a space nor a tab; it ends at a line break or a ";" outside
// quotes, and a backslash takes the byte after it (a line break too) along.
void IniDocument::parse()
{
    const QByteArray &d = m_bytes;
    const int size = d.size();
    const bool byteOrderMark = d.startsWith("\xef\xbb\xbf");
    int section = -1;
    int pos = 0;
    while (pos < size) {
        Line line;
        line.begin = pos;
        line.section = section;
        int i = pos == 0 && byteOrderMark ? 3 : pos;
        while (i < size && isBlank(d.at(i)))
            ++i;
        if (i == size || isBreak(d.at(i))) {
            line.kind = LineKind::Blank;
            line.end = physicalEnd(d, i);
        } else if (d.at(i) == ';') {
            line.kind = LineKind::Comment;
            line.end = physicalEnd(d, i);
        } else {
            int equals = -1;
            bool inQuotes = false;
            int j = i;
            while (j < size) {
                const char c = d.at(j);
                if (isBreak(c) || c == ';') {
                    if (!inQuotes)
                        break;
                    if (c != ';')
                        m_quoteOverLineBreak = true;
                    ++j;
                } else if (c == '\\') {
                    j += 2;
                    if (j < size) {
                        const char escaped = d.at(j - 1);
                        const char next = d.at(j);
                        if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                            ++j;
                    }
                } else {
                    if (c == '=' && !inQuotes && equals < 0)
                        equals = j;
                    else if (c == '"')
                        inQuotes = !inQuotes;
                    ++j;
                }
            }
            const int logicalEnd = qMin(j, size);
            line.end = physicalEnd(d, logicalEnd);
            if (d.at(i) == '[') {
                line.kind = LineKind::Section;
                const int close = d.indexOf(']', i);
                line.nameBegin = i + 1;
                line.nameEnd = close < 0 || close >= logicalEnd ? logicalEnd : close;
                m_formatError = m_formatError || line.nameEnd == logicalEnd;
                section = m_lines.size();
                line.section = section;
            } else if (equals < 0) {
                line.kind = LineKind::Damaged;
                m_formatError = true;
            } else {
                line.kind = LineKind::Key;
                line.nameBegin = i;
                line.nameEnd = equals;
                while (line.nameEnd > i && isBlank(d.at(line.nameEnd - 1)))
                    --line.nameEnd;
                line.valueBegin = equals + 1;
                while (line.valueBegin < logicalEnd && isBlank(d.at(line.valueBegin)))
                    ++line.valueBegin;
                line.valueEnd = logicalEnd;
                while (line.valueEnd > line.valueBegin && isBlank(d.at(line.valueEnd - 1)))
                    --line.valueEnd;
            }
        }
        // QSettings looks for sections after a byte order mark, but reads the
        // keys at the top of the file from its first byte: only a key line
        // there takes the mark in as part of its name.
        if (pos == 0 && byteOrderMark) {
            if (line.kind == LineKind::Key) {
                line.nameBegin = 0;
            } else {
                m_formatError = true;
                if (line.kind != LineKind::Section)
                    line.kind = LineKind::Damaged;
            }
        }
        m_lines.append(line);
        pos = line.end;
    }
}

QString IniDocument::sectionPrefix(int section) const
{
    if (section < 0)
        return QString();
    const Line &line = m_lines.at(section);
    const QByteArray name = m_bytes.mid(line.nameBegin, line.nameEnd - line.nameBegin).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    QString prefix;
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        prefix = QString::fromLatin1(name.mid(1));
    else
        unescapeKey(name, 0, name.size(), prefix);
    return prefix + QLatin1Char('/');
}

QString IniDocument::keyName(const Line &line) const
{
    QString name;
    unescapeKey(m_bytes, line.nameBegin, line.nameEnd, name);
    return name;
}

QString IniDocument::keyPath(const Line &line) const
{
    QString path = sectionPrefix(line.section);
    unescapeKey(m_bytes, line.nameBegin, line.nameEnd, path);
    return path;
}
