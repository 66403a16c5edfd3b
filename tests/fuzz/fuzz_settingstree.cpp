// Settings tree: the editor's line reader judges any INI text as QSettings
// does on a path it has never read (a format error or not) and finds the keys
// QSettings finds. For any text the editor reads cleanly, saving its tree to a
// fresh file, as the editor does after an edit elsewhere, leaves the same
// keys with values of the same types and values; and the content the editor
// predicts for the tree is what the fresh file holds. Left out: the keys that
// QSettings itself cannot reach by their path or write back as it read them
// (see EditedSave::reachableContent, writtenKey, writableByQSettings and
// sameValue); a tree with text QSettings would drop is not saved at all.
//
// The editor reads every value's text as QSettings does (a key of one line),
// and the text it shows for a value stands for that value.
//
// Edited as the input says (a value changed to text from the input, a key
// removed, a section removed, a key added to the last section, the top or a
// new section, the first section renamed; any of them together), the tree
// saved into the file's own lines reads back through QSettings on a fresh
// path as exactly the edited tree, every key the first read had included;
// and its lines are the file's, byte for byte and in their order, but for
// exactly those of the edits (EditedSave::editFault). So for a file whose
// only faults are lines QSettings skips and quoted values running past their
// line (SettingsTree::readFault finds nothing), but that a new section after
// an open last line that QSettings skips is refused.

#include "editedsave.h"
#include "fuzzcheck.h"
#include "inidocument.h"
#include "inipatch.h"
#include "settingstree.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

QTemporaryDir &root()
{
    static QTemporaryDir dir;
    return dir;
}

bool isList(const QVariant &value)
{
    return value.userType() == QMetaType::QStringList
           || value.userType() == QMetaType::QVariantList;
}

// The same value: same type, and equal, or streamed alike (a NaN is never
// equal to itself). Lists only need the same items: QSettings reads a list as
// a QStringList or a QVariantList by how its items are written, and writes a
// list's items so that the type can change: a QVariantList of strings only
// ("a, @String(b)", or an item starting with "@" that encodes nothing) comes
// back a QStringList, a QStringList with an item holding a NUL character
// comes back a QVariantList. Values that do not compare (a QFont where no GUI
// is loaded) are compared by their streamed form. Texts need not keep a
// U+FEFF: QSettings' UTF-8 decoding drops one that starts a run of bytes
// between escapes, and its writer puts one there after an escaped character.
bool writableByQSettings(const QVariant &value);

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (isList(a) && isList(b)) {
        const QVariantList itemsA = a.toList();
        const QVariantList itemsB = b.toList();
        if (itemsA.size() != itemsB.size())
            return false;
        for (int i = 0; i < itemsA.size(); ++i) {
            if (writableByQSettings(itemsA.at(i)) && !sameValue(itemsA.at(i), itemsB.at(i)))
                return false;
        }
        return true;
    }
    if (a.userType() != b.userType())
        return false;
    if (a == b)
        return true;
    if (a.userType() == QMetaType::QString)
        return a.toString().remove(QChar(0xfeff)) == b.toString().remove(QChar(0xfeff));
    return EditedSave::streamed(a) == EditedSave::streamed(b);
}

// Whether a text value holds a character beyond U+FFFF (an emoji, say), which
// QSettings reads but its INI writer drops (or turns into U+FFFD inside
// "@String()"): the editor refuses to save such a tree.
bool beyondBmp(const QVariant &value)
{
    if (isList(value)) {
        for (const QVariant &item : value.toList()) {
            if (beyondBmp(item))
                return true;
        }
        return false;
    }
    if (value.userType() != QMetaType::QString)
        return false;
    for (const QChar c : value.toString()) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

// Whether QSettings itself writes this value (or list item) back so that it
// reads the same. Numbers, truth values and key sequences (read from
// "@Variant(...)") it writes as plain text, which reads back as a string. An empty list (read from
// "@Variant(...)") it writes as "@Invalid()", which reads back as no value.
bool writableByQSettings(const QVariant &value)
{
    if (isList(value) && value.toList().isEmpty())
        return false;
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::QKeySequence:
        return false;
    default:
        return true;
    }
}

QString describe(const QString &key, const QVariant &a, const QVariant &b)
{
    return key + QLatin1String(": ") + QLatin1String(a.typeName()) + QLatin1Char(' ') + a.toString()
           + QLatin1String(" -> ") + QLatin1String(b.typeName()) + QLatin1Char(' ') + b.toString();
}

// The key under which QSettings writes a key back. A top-level group named
// "general" in any letter case (read from "[%general]", say) it writes as
// "[%General]", which reads back as "General": the group's letter case is
// lost, and two such groups become one.
QString writtenKey(const QString &key)
{
    const int slash = key.indexOf(QLatin1Char('/'));
    if (slash > 0 && key.leftRef(slash).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
        return QLatin1String("General") + key.mid(slash);
    return key;
}

void compare(const SettingsTree::Content &read, const SettingsTree::Content &written,
             const QString &what)
{
    QSet<QString> merged;
    QSet<QString> expected;
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        const QString key = writtenKey(it.key());
        if (expected.contains(key))
            merged.insert(key);
        expected.insert(key);
    }
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        const QString key = writtenKey(it.key());
        if (!writableByQSettings(it.value()) || merged.contains(key))
            continue;
        FUZZ_CHECK(written.contains(key), what + QLatin1String(" lost ") + it.key());
        const QVariant value = written.value(key);
        FUZZ_CHECK(sameValue(it.value(), value),
                   what + QLatin1Char(' ') + describe(it.key(), it.value(), value));
    }
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        FUZZ_CHECK(expected.contains(it.key()), what + QLatin1String(" gained ") + it.key());
}

// Each key of one line, in a file read cleanly, reads as QSettings reads it.
void checkValues(const IniDocument &document, QSettings &settings)
{
    if (!document.isClean())
        return;
    QHash<QString, int> lines;
    for (const IniDocument::Line &line : document.lines()) {
        if (line.kind == IniDocument::LineKind::Key)
            ++lines[document.keyPath(line)];
    }
    const QByteArray &bytes = document.bytes();
    for (const IniDocument::Line &line : document.lines()) {
        if (line.kind != IniDocument::LineKind::Key)
            continue;
        const QString path = document.keyPath(line);
        if (lines.value(path) != 1 || path.isEmpty() || SettingsTree::normalizedPath(path) != path)
            continue;
        // With the spaces and tabs after it, which stay when quoted.
        int end = line.valueEnd;
        while (end < line.end && (bytes.at(end) == ' ' || bytes.at(end) == '\t'))
            ++end;
        const QVariant value = settings.value(path);
        const QVariant decoded =
            IniDocument::decodedValue(bytes.mid(line.valueBegin, end - line.valueBegin));
        FUZZ_CHECK(IniDocument::sameValue(decoded, value), describe(path, value, decoded));
    }
}

// The edits that the input's first bytes choose; the changed key's text is
// made of its last bytes, without what QSettings cannot store.
void checkKeptLines(const uint8_t *data, size_t size, const IniDocument &document,
                    SettingsNodes nodes)
{
    const auto byte = [data, size](size_t i) {
        return i < size ? data[i] : uint8_t(0);
    };
    EditedSave::Edits edits;
    const QString input =
        FuzzCheck::text(data + size - qMin<size_t>(size, 12), qMin<size_t>(size, 12));
    for (const QChar c : input) {
        if (!c.isSurrogate())
            edits.text += c;
    }
    edits.changed = byte(0);
    edits.removed = byte(1);
    edits.add = EditedSave::Edits::Add(byte(2) % 3);
    edits.rename = byte(2) & 4;
    if (byte(2) & 8)
        edits.removedSection = byte(3);
    const EditedSave::Touched touched = EditedSave::edit(&nodes, edits);

    const QByteArray patched = IniPatch::patched(document, nodes);
    const QVector<IniDocument::Line> &lines = document.lines();
    if (patched.isNull() && document.endsOpen()
        && lines.last().kind == IniDocument::LineKind::Damaged)
        return;
    FUZZ_CHECK(!patched.isNull(), FuzzCheck::text(data, size));
    // A new name every time, as for the input (see LLVMFuzzerTestOneInput).
    static int counter = 0;
    const QString fresh =
        root().filePath(QLatin1String("kept") + QString::number(++counter) + QLatin1String(".ini"));
    {
        QFile file(fresh);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), fresh);
        file.write(patched);
    }
    const QString readBack = EditedSave::readBackFault(fresh, nodes, document.hasFormatError());
    QFile::remove(fresh);
    FUZZ_CHECK(readBack.isEmpty(), readBack + QLatin1Char('\n') + QString::fromUtf8(patched));
    const QString fault = EditedSave::editFault(document, IniDocument(patched), touched);
    FUZZ_CHECK(fault.isEmpty(), fault + QLatin1Char('\n') + QString::fromUtf8(patched));
}

} // namespace

// As in a release build, an allocation that cannot be had fails (and Qt
// throws std::bad_alloc) instead of stopping the process.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int counter = 0;
    const QString number = QString::number(++counter);
    // New names every time: QSettings caches a file for the whole process
    // and would not see a rewrite within the same millisecond.
    const QString in = root().filePath(QLatin1String("in") + number + QLatin1String(".ini"));
    const QString out = root().filePath(QLatin1String("out") + number + QLatin1String(".ini"));
    {
        QFile file(in);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), in);
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    const IniDocument document(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    SettingsNodes nodes;
    SettingsTree::Content read;
    bool clean = false;
    bool keepable = false; // saved into its own lines
    {
        QSettings settings(in, QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        QStringList keys;
        bool decoded = true;
        try {
            keys = settings.allKeys();
        } catch (const std::bad_alloc &) {
            decoded = false; // a value QSettings cannot decode; no format error of the lines
        }
        if (decoded) {
            FUZZ_CHECK(document.hasFormatError() == (settings.status() == QSettings::FormatError),
                       FuzzCheck::text(data, size));
            QSet<QString> paths;
            for (const IniDocument::Line &line : document.lines()) {
                if (line.kind == IniDocument::LineKind::Key)
                    paths.insert(document.keyPath(line));
            }
            FUZZ_CHECK(paths == QSet<QString>(keys.cbegin(), keys.cend()),
                       FuzzCheck::text(data, size));
            checkValues(document, settings);
        }
        nodes = SettingsTree::read(settings);
        clean = document.isClean() && SettingsTree::readStatus(settings) == QSettings::NoError;
        keepable = SettingsTree::readFault(settings, document).cause
                   == SettingsTree::ReadFault::Cause::None;
        for (const QString &key : clean ? settings.allKeys() : QStringList()) {
            if (!key.isEmpty() && SettingsTree::normalizedPath(key) == key)
                read.insert(key, settings.value(key));
        }
    }
    // The text the editor shows for a value, stored as it is, is that value.
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        const QVariant back = SettingsTree::valueFromText(SettingsTree::valueText(*it), *it);
        FUZZ_CHECK(sameValue(*it, back), describe(it.key(), *it, back));
    }
    const SettingsTree::Content predicted = SettingsTree::content(nodes);
    const bool storable = std::none_of(predicted.cbegin(), predicted.cend(), beyondBmp);
    if (clean) {
        QString error;
        const bool saved = SettingsTree::save(nodes, out, &error);
        FUZZ_CHECK(saved == storable, error);
    }
    FUZZ_CHECK(keepable || !clean, FuzzCheck::text(data, size));
    if (keepable)
        checkKeptLines(data, size, document, nodes);
    if (clean && storable) {
        QSettings::Status status = QSettings::NoError;
        const SettingsTree::Content written = EditedSave::reachableContent(out, &status);
        FUZZ_CHECK(status == QSettings::NoError, FuzzCheck::text(data, size));
        compare(read, written, QLatin1String("saved:"));
        compare(predicted, written, QLatin1String("predicted:"));
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            FuzzCheck::feedback(it.key() + QLatin1Char('=') + QLatin1String(it->typeName()));
    }
    QFile::remove(in);
    QFile::remove(out);
    return 0;
}
