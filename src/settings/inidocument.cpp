#include "inidocument.h"

#include <QDataStream>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTextCodec>

#include <algorithm>
#include <cctype>
#include <new>

namespace {

const int UTF8Mib = 106;

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

// Follows QSettings' INI parser line by line: a line is read, then
// classified.
void IniDocument::parse()
{
    const bool byteOrderMark = m_bytes.startsWith("\xef\xbb\xbf");
    int section = -1;
    for (int pos = 0; pos < m_bytes.size();) {
        const RawLine raw = readLine(m_bytes, pos, pos == 0 && byteOrderMark);
        Line line = classified(raw, section);
        if (line.kind == LineKind::Section)
            section = line.section = m_lines.size();
        if (raw.logicalEnd == m_bytes.size())
            m_closing = raw.closing;
        if (line.fault != Fault::None && m_firstFault < 0)
            m_firstFault = m_lines.size();
        if (line.fault == Fault::DamagedHeader && m_firstDamagedHeader < 0)
            m_firstDamagedHeader = m_lines.size();
        m_lines.append(line);
        pos = line.end;
    }
}

// A line starts at its first byte that is neither a space nor a tab; it ends
// at a line break or a ";" outside quotes, and a backslash takes the byte
// after it (a line break too) along.
IniDocument::RawLine IniDocument::readLine(const QByteArray &d, int pos, bool afterByteOrderMark)
{
    const int size = d.size();
    RawLine raw;
    raw.begin = pos;
    int i = afterByteOrderMark ? 3 : pos;
    while (i < size && isBlank(d.at(i)))
        ++i;
    raw.start = i;
    if (i == size || isBreak(d.at(i)) || d.at(i) == ';') {
        raw.logicalEnd = -1;
        raw.end = physicalEnd(d, i);
        return raw;
    }
    bool inQuotes = false;
    int escapeEnd = -1; // past the last escaped line break
    int j = i;
    while (j < size) {
        const char c = d.at(j);
        if (isBreak(c) || c == ';') {
            if (!inQuotes)
                break;
            if (c != ';')
                raw.quoteOverLineBreak = true;
            ++j;
        } else if (c == '\\') {
            j += 2;
            if (j < size) {
                const char escaped = d.at(j - 1);
                const char next = d.at(j);
                if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                    ++j;
            }
            if (j <= size && isBreak(d.at(j - 1)))
                escapeEnd = j;
        } else {
            if (c == '=' && !inQuotes && raw.equals < 0)
                raw.equals = j;
            else if (c == '"')
                inQuotes = !inQuotes;
            ++j;
        }
    }
    raw.logicalEnd = qMin(j, size);
    raw.end = physicalEnd(d, raw.logicalEnd);
    if (raw.logicalEnd == size) {
        // What the last line needs before a line break can follow it without
        // joining the next line to its value: a character for a backslash to
        // take, a closing quote, or a line break that no escaped one before
        // it takes along.
        raw.closing = j > size ? " " : "";
        if (inQuotes)
            raw.closing += '"';
        else if (escapeEnd == size)
            raw.closing = QByteArray(1, d.at(size - 1));
    }
    return raw;
}

// What a line read is, with the spans of its name and value; notes a format
// error or a quote over a line break in the file.
IniDocument::Line IniDocument::classified(const RawLine &raw, int section)
{
    const QByteArray &d = m_bytes;
    Line line;
    line.begin = raw.begin;
    line.end = raw.end;
    line.section = section;
    const int i = raw.start;
    const int logicalEnd = raw.logicalEnd;
    m_quoteOverLineBreak = m_quoteOverLineBreak || raw.quoteOverLineBreak;
    if (logicalEnd < 0) {
        line.kind = i < d.size() && d.at(i) == ';' ? LineKind::Comment : LineKind::Blank;
    } else if (d.at(i) == '[') {
        line.kind = LineKind::Section;
        const int close = d.indexOf(']', i);
        line.nameBegin = i + 1;
        line.nameEnd = close < 0 || close >= logicalEnd ? logicalEnd : close;
        line.valueBegin = line.nameEnd;
        line.valueEnd = logicalEnd;
        while (line.valueEnd > line.valueBegin && isBlank(d.at(line.valueEnd - 1)))
            --line.valueEnd;
        m_formatError = m_formatError || line.nameEnd == logicalEnd;
        // A quote in it running on takes in the lines after it.
        if (line.nameEnd == logicalEnd || raw.quoteOverLineBreak)
            line.fault = Fault::DamagedHeader;
    } else if (raw.equals < 0) {
        line.kind = LineKind::Damaged;
        line.fault = Fault::Skipped;
        m_formatError = true;
    } else {
        line.kind = LineKind::Key;
        if (raw.quoteOverLineBreak)
            line.fault = Fault::QuoteOverLineBreak;
        line.nameBegin = i;
        line.nameEnd = raw.equals;
        while (line.nameEnd > i && isBlank(d.at(line.nameEnd - 1)))
            --line.nameEnd;
        line.valueBegin = raw.equals + 1;
        while (line.valueBegin < logicalEnd && isBlank(d.at(line.valueBegin)))
            ++line.valueBegin;
        line.valueEnd = logicalEnd;
        while (line.valueEnd > line.valueBegin && isBlank(d.at(line.valueEnd - 1)))
            --line.valueEnd;
    }
    // QSettings looks for sections after a byte order mark, but reads the
    // keys at the top of the file from its first byte: only a key line there
    // takes the mark in as part of its name.
    if (raw.begin == 0 && d.startsWith("\xef\xbb\xbf")) {
        if (line.kind == LineKind::Key) {
            line.nameBegin = 0;
            // Blanks right after the mark were skipped, not trimmed.
            while (line.nameEnd > 0 && isBlank(d.at(line.nameEnd - 1)))
                --line.nameEnd;
        } else {
            m_formatError = true;
            if (line.kind != LineKind::Section)
                line.kind = LineKind::Damaged;
            if (line.fault == Fault::None)
                line.fault = Fault::Skipped;
        }
    }
    return line;
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

QByteArray IniDocument::value(const Line &line) const
{
    return m_bytes.mid(line.valueBegin, line.valueEnd - line.valueBegin);
}

int IniDocument::lineNumber(int index) const
{
    const int begin = m_lines.at(index).begin;
    int number = 1;
    for (int i = 0; i < begin; ++i) {
        if (m_bytes.at(i) == '\n' || (m_bytes.at(i) == '\r' && m_bytes.at(i + 1) != '\n'))
            ++number;
    }
    return number;
}

QByteArray IniDocument::lineBreak() const
{
    const int newline = m_bytes.indexOf('\n');
    const int carriageReturn = m_bytes.indexOf('\r');
    if (carriageReturn < 0 || (newline >= 0 && newline < carriageReturn))
        return QByteArrayLiteral("\n");
    return newline == carriageReturn + 1 ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
}

QByteArray IniDocument::edited(const Edits &edits) const
{
    QVector<int> touched;
    touched.reserve(edits.names.size() + edits.values.size() + edits.removed.size()
                    + edits.after.size());
    for (auto it = edits.names.cbegin(); it != edits.names.cend(); ++it)
        touched.append(it.key());
    for (auto it = edits.values.cbegin(); it != edits.values.cend(); ++it)
        touched.append(it.key());
    for (auto it = edits.after.cbegin(); it != edits.after.cend(); ++it)
        touched.append(it.key());
    for (const int index : edits.removed)
        touched.append(index);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());

    const QByteArray lineBreak = this->lineBreak();
    const char *bytes = m_bytes.constData();
    QByteArray result;
    result.reserve(m_bytes.size() + 1024);
    // A line ending in a lone CR, and a blank line of a lone LF that an edit
    // brings after it, would make one line break of two.
    const auto copy = [&result, bytes](int from, int to) {
        if (from < to && bytes[from] == '\n' && !result.isEmpty() && result.back() == '\r')
            result += '\n';
        result.append(bytes + from, to - from);
    };
    // So does a blank line added after such a line.
    const auto addLine = [&result, &lineBreak](const QByteArray &text) {
        if (text.isEmpty() && lineBreak == "\n" && !result.isEmpty() && result.back() == '\r')
            result += '\n';
        result += text + lineBreak;
    };
    const int last = m_lines.size() - 1;
    const auto endLine = [&](int after) {
        if (after == last && !edits.values.contains(last) && !edits.removed.contains(last))
            result += m_closing;
        if (!result.isEmpty() && !isBreak(result.back()))
            result += lineBreak;
    };
    int copied = 0;
    for (const int index : qAsConst(touched)) {
        if (index < 0) {
            for (const QByteArray &text : edits.after.value(index))
                addLine(text);
            continue;
        }
        const Line &line = m_lines.at(index);
        copy(copied, line.begin);
        copied = line.end;
        if (!edits.removed.contains(index)) {
            int pos = line.begin;
            const auto name = edits.names.constFind(index);
            if (name != edits.names.cend()) {
                copy(pos, line.nameBegin);
                result += *name;
                pos = line.nameEnd;
            }
            const auto value = edits.values.constFind(index);
            if (value != edits.values.cend()) {
                copy(pos, line.valueBegin);
                result += *value;
                pos = line.valueEnd;
            }
            copy(pos, line.end);
        }
        const QByteArrayList inserted = edits.after.value(index);
        if (!inserted.isEmpty())
            endLine(index);
        for (const QByteArray &text : inserted)
            addLine(text);
    }
    copy(copied, m_bytes.size());
    if (!edits.appended.isEmpty())
        endLine(last);
    for (const QByteArray &text : edits.appended)
        addLine(text);
    return result;
}

QByteArray IniDocument::escapedKey(const QString &key)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray result;
    result.reserve(key.size() * 3 / 2);
    for (const QChar c : key) {
        ushort ch = c.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')
                   || ch == '_' || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xff) {
            result += '%';
            result += hexDigits[ch / 16];
            result += hexDigits[ch % 16];
        } else {
            result += "%U";
            char digits[4];
            for (int i = 3; i >= 0; --i, ch >>= 4)
                digits[i] = hexDigits[ch % 16];
            result.append(digits, 4);
        }
    }
    return result;
}

namespace {

// QSettings' escapes of a value's characters; through UTF-8, or as Latin-1
// with "\\x" escapes for the others (what it does for bytes).
QByteArray escapedChars(const QString &value, bool utf8)
{
    QByteArray result;
    result.reserve(value.size() * 3 / 2);
    // After "\\0" or "\\x1f", a hexadecimal digit would be read as part of it.
    bool escapeNextIfDigit = false;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const ushort ch = c.unicode();
        if (escapeNextIfDigit && ch < 0x80 && isxdigit(ch)) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            result += "\\a";
            break;
        case '\b':
            result += "\\b";
            break;
        case '\f':
            result += "\\f";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\v':
            result += "\\v";
            break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            // QSettings writes U+FEFF as it is, but drops it when reading it
            // right after an escape (UTF-8 decoding skips it as a byte order
            // mark there); escaped, it reads back.
            const bool pair = utf8 && c.isHighSurrogate() && i + 1 < value.size()
                              && value.at(i + 1).isLowSurrogate();
            // A lone surrogate has no UTF-8; escaped, it reads back.
            if (ch <= 0x1f || (ch >= 0x7f && !utf8) || ch == 0xfeff || (c.isSurrogate() && !pair)) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else if (ch < 0x80) {
                result += char(ch);
            } else if (pair) {
                // QSettings drops a character beyond U+FFFF (no save writes
                // one), but the editor shows it.
                result += value.mid(i++, 2).toUtf8();
            } else {
                result += QString(c).toUtf8();
            }
        }
    }
    return result;
}

// How QSettings escapes a value's text (iniEscapedString): other than ASCII
// through UTF-8 (for "@ByteArray(" and "@Variant(" forms as "\\x" escapes),
// and in quotes when it holds ",", ";" or "=" or starts or ends with a space.
QByteArray iniEscaped(const QString &text)
{
    const bool utf8 = !text.startsWith(QLatin1String("@ByteArray("))
                      && !text.startsWith(QLatin1String("@Variant("));
    QByteArray result = escapedChars(text, utf8);
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char(','))
        || text.contains(QLatin1Char('=')) || result.startsWith(' ') || result.endsWith(' ')) {
        result.prepend('"');
        result += '"';
    }
    return result;
}

// A value in the encoded form that QSettings writes for types it has no text
// form of.
QString encodedForm(const QVariant &value)
{
    const bool dateTime = value.userType() == QMetaType::QDateTime;
    QByteArray bytes;
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
        stream << value;
    }
    return QLatin1String(dateTime ? "@DateTime(" : "@Variant(")
           + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
}

// The text QSettings makes of a value or a list item (variantToString).
QString settingsText(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size())
               + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::QKeySequence: {
        const QString text = value.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + QLatin1Char(')');
        return text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
    }
    case QMetaType::QRect: {
        const QRect rect = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", rect.x(), rect.y(), rect.width(),
                                 rect.height());
    }
    case QMetaType::QSize: {
        const QSize size = value.toSize();
        return QString::asprintf("@Size(%d %d)", size.width(), size.height());
    }
    case QMetaType::QPoint: {
        const QPoint point = value.toPoint();
        return QString::asprintf("@Point(%d %d)", point.x(), point.y());
    }
    default:
        return encodedForm(value);
    }
}

// The character of an escape such as "\\n"; 0 for none.
char namedEscape(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

// How QSettings reads a value's text (iniUnescapedStringList): escapes,
// quotes, and a comma outside quotes, which makes a list; spaces and tabs
// around an unquoted item are dropped. The runs of bytes between escapes are
// UTF-8, each decoded on its own. True for a list, in `list`; else the text
// is in `text`.
bool unescapedValue(const QByteArray &bytes, QString &text, QStringList &list)
{
    QTextCodec *const codec = QTextCodec::codecForMib(UTF8Mib);
    const int size = bytes.size();
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    // Trailing spaces and tabs are dropped back to here; not those quoted or
    // escaped, nor any when the text ends in an escape.
    int chopLimit = 0;
    bool chopAtEnd = true;
    int i = 0;
    const auto skipSpaces = [&] {
        while (i < size && isBlank(bytes.at(i)))
            ++i;
        chopLimit = text.size();
    };
    const auto chop = [&] {
        int n = text.size();
        while (!quoted && n > chopLimit
               && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1) == QLatin1Char('\t')))
            --n;
        text.truncate(n);
    };
    // The digits of an escape, as many as follow; a character of the last 16
    // bits of their value.
    const auto number = [&](int base) {
        uint value = 0;
        for (; i < size; ++i) {
            const char c = bytes.at(i);
            const int digit = c >= '0' && c <= '9'                 ? c - '0'
                              : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                   : base;
            if (digit >= base)
                break;
            value = value * uint(base) + uint(digit);
        }
        chopAtEnd = i < size;
        return QChar(ushort(value & 0xffff));
    };
    skipSpaces();
    while (i < size) {
        const char c = bytes.at(i);
        if (c == '\\') {
            if (++i == size) {
                chopAtEnd = false;
                break;
            }
            const char escaped = bytes.at(i++);
            if (const char named = namedEscape(escaped)) {
                text += QLatin1Char(named);
            } else if (escaped == 'x' && i < size && std::isxdigit(uchar(bytes.at(i)))) {
                text += number(16);
            } else if (escaped >= '0' && escaped <= '7') {
                --i;
                text += number(8);
            } else if (escaped == 'x' && i == size) {
                chopAtEnd = false;
                break;
            } else if ((escaped == '\n' || escaped == '\r') && i < size && isBreak(bytes.at(i))
                       && bytes.at(i) != escaped) {
                ++i; // an escaped line break takes its pair along
            }        // any other escaped character is dropped
            chopLimit = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipSpaces();
        } else if (c == ',' && !inQuotes) {
            chop();
            isList = true;
            list.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipSpaces();
        } else {
            int j = i + 1;
            while (j < size && bytes.at(j) != '\\' && bytes.at(j) != '"' && bytes.at(j) != ',')
                ++j;
            text += codec->toUnicode(bytes.constData() + i, j - i);
            i = j;
        }
    }
    if (chopAtEnd)
        chop();
    if (isList)
        list.append(text);
    return isList;
}

// The arguments of "@Point(1 2)" and the like, as QSettings splits them: at
// each space, and at each ")".
QStringList splitArgs(const QString &text, int open)
{
    QStringList result;
    QString item;
    for (int i = open + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(')')) {
            result.append(item);
        } else if (c == QLatin1Char(' ')) {
            result.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    return result;
}

// What QSettings makes of a value's text once unescaped (stringToVariant).
QVariant fromSettingsText(const QString &text)
{
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.endsWith(QLatin1Char(')'))) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return text.midRef(11, text.size() - 12).toLatin1();
        if (text.startsWith(QLatin1String("@String(")))
            return text.mid(8, text.size() - 9);
        const bool dateTime = text.startsWith(QLatin1String("@DateTime("));
        if (dateTime || text.startsWith(QLatin1String("@Variant("))) {
            QByteArray bytes = text.midRef(dateTime ? 10 : 9).toLatin1();
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            QVariant result;
            stream >> result;
            return result;
        }
        if (text.startsWith(QLatin1String("@Rect("))) {
            const QStringList args = splitArgs(text, 5);
            if (args.size() == 4)
                return QRect(args[0].toInt(), args[1].toInt(), args[2].toInt(), args[3].toInt());
        } else if (text.startsWith(QLatin1String("@Size("))) {
            const QStringList args = splitArgs(text, 5);
            if (args.size() == 2)
                return QSize(args[0].toInt(), args[1].toInt());
        } else if (text.startsWith(QLatin1String("@Point("))) {
            const QStringList args = splitArgs(text, 6);
            if (args.size() == 2)
                return QPoint(args[0].toInt(), args[1].toInt());
        } else if (text == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    return text;
}

// What QSettings makes of a list's items (stringListToVariantList): a list of
// texts, or, once an item starts with a single "@", of what each encodes.
QVariant fromSettingsItems(const QStringList &items)
{
    QStringList texts = items;
    for (QString &text : texts) {
        if (!text.startsWith(QLatin1Char('@')))
            continue;
        if (text.size() < 2 || text.at(1) != QLatin1Char('@')) {
            QVariantList values;
            values.reserve(items.size());
            for (const QString &item : items)
                values.append(fromSettingsText(item));
            return values;
        }
        text.remove(0, 1);
    }
    return texts;
}

QByteArray streamed(const QVariant &value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    return bytes;
}

} // namespace

QByteArray IniDocument::escapedText(const QString &text)
{
    return iniEscaped(settingsText(text));
}

QByteArray IniDocument::escapedBytes(const QByteArray &bytes)
{
    return escapedChars(QLatin1String("@ByteArray(")
                            + QString::fromLatin1(bytes.constData(), bytes.size())
                            + QLatin1Char(')'),
                        false);
}

QByteArray IniDocument::escapedItems(const QVariantList &items)
{
    QByteArray result;
    for (const QVariant &item : items) {
        if (!result.isEmpty() || &item != &items.first())
            result += ", ";
        result += iniEscaped(settingsText(item));
    }
    return result;
}

QByteArray IniDocument::escapedValue(const QVariant &value)
{
    const int type = value.userType();
    if (type == QMetaType::QString)
        return escapedText(value.toString());
    const QByteArray written = type == QMetaType::QStringList || type == QMetaType::QVariantList
                                   ? escapedItems(value.toList())
                                   : iniEscaped(settingsText(value));
    if (sameValue(decodedValue(written), value))
        return written;
    return iniEscaped(encodedForm(value));
}

QVariant IniDocument::decodedValue(const QByteArray &text, bool *outOfMemory)
{
    QString string;
    QStringList list;
    const bool isList = unescapedValue(text, string, list);
    try {
        return isList ? fromSettingsItems(list) : fromSettingsText(string);
    } catch (const std::bad_alloc &) {
        if (outOfMemory)
            *outOfMemory = true;
        return isList ? QVariant(list) : QVariant(string);
    }
}

bool IniDocument::sameValue(const QVariant &a, const QVariant &b)
{
    return a.userType() == b.userType() && (a == b || streamed(a) == streamed(b));
}

QByteArray IniDocument::sectionName(const QString &path)
{
    if (path.isEmpty())
        return QByteArrayLiteral("General");
    if (path.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
        return '%' + path.toLatin1();
    // Slashes stay slashes: "[a/b]" reads as "[a\\b]" does.
    QByteArrayList parts;
    for (const QString &part : path.split(QLatin1Char('/')))
        parts.append(escapedKey(part));
    return parts.join('/');
}
