#include "settingstree.h"

#include "inidocument.h"
#include "inipatch.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextCodec>

#include <algorithm>
#include <new>
#include <utility>

namespace {

// How long a save waits for another writer of the same file.
const int LockTimeoutMs = 5000;
const int UTF8Mib = 106;

// A key as QSettings stores it: without leading, trailing or doubled slashes.
QString normalizedKey(const QString &key)
{
    if (!key.startsWith(QLatin1Char('/')) && !key.endsWith(QLatin1Char('/'))
        && !key.contains(QLatin1String("//")))
        return key;
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

// Every key that a write stores, with its path, in the order it is written.
template<typename Visit>
void forEachKey(const SettingsNodes &nodes, const QString &prefix, const Visit &visit)
{
    for (const SettingsNode &node : nodes) {
        const QString name = normalizedKey(node.name);
        if (node.isSection())
            forEachKey(node.children, name.isEmpty() ? prefix : prefix + name + QLatin1Char('/'),
                       visit);
        else if (!name.isEmpty())
            visit(prefix + name, node);
    }
}

// Whether a value to store holds a character beyond U+FFFF (an emoji, say):
// QSettings reads such characters from a file, but its INI writer drops them.
bool beyondBmp(const QVariant &value)
{
    const int type = value.userType();
    if (type == QMetaType::QStringList || type == QMetaType::QVariantList) {
        const QVariantList items = value.toList();
        return std::any_of(items.cbegin(), items.cend(), beyondBmp);
    }
    if (type != QMetaType::QString)
        return false;
    const QString text = value.toString();
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

// A section read from `keys` (paths below the current group in the order
// QSettings lists them, so that the keys of a section follow each other)
// from `begin` to `end`, all starting with the section's path and a slash
// (`prefix` characters), as QSettings' childKeys() and childGroups() list its
// keys and subsections.
SettingsNodes readGroup(QSettings &settings, const QStringList &keys, int begin, int end,
                        int prefix, int depth)
{
    struct Group
    {
        QString name;
        int begin;
        int end;
    };
    QVector<Group> groups;
    SettingsNodes nodes;
    for (int i = begin; i < end;) {
        const QString &key = keys.at(i);
        const int slash = key.indexOf(QLatin1Char('/'), prefix);
        if (slash < 0) {
            const QString name = key.mid(prefix);
            // QSettings reads no value of a key without a name.
            nodes.append(
                SettingsNode::readKey(name, name.isEmpty() ? QVariant() : settings.value(key)));
            nodes.last().origin = key;
            ++i;
            continue;
        }
        const QStringRef group = key.midRef(prefix, slash - prefix);
        int next = i + 1;
        while (next < end && keys.at(next).size() > slash
               && keys.at(next).at(slash) == QLatin1Char('/')
               && keys.at(next).midRef(prefix, slash - prefix) == group)
            ++next;
        // QSettings lists a section without a name ("[]", "[ ]", the empty
        // part of "a//b") as the group "", but entering that group stays
        // where it is: descending would never end, and no key path reaches
        // what it holds.
        if (!group.isEmpty() && depth < SettingsTree::MaxDepth)
            groups.append({group.toString(), i, next});
        i = next;
    }
    std::sort(groups.begin(), groups.end(),
              [](const Group &a, const Group &b) { return a.name < b.name; });
    nodes.reserve(nodes.size() + groups.size());
    for (const Group &group : qAsConst(groups)) {
        SettingsNode section = SettingsNode::section(group.name);
        section.wasRead = true;
        const QString &first = keys.at(group.begin);
        const int slash = prefix + group.name.size();
        section.origin = first.left(slash);
        section.children = readGroup(settings, keys, group.begin, group.end, slash + 1, depth + 1);
        nodes.append(std::move(section));
    }
    return nodes;
}

QString beyondBmpMessage(const QString &key)
{
    return QCoreApplication::translate("SettingsTree",
                                       "The value of %1 holds characters beyond U+FFFF (such as "
                                       "emoji), which the settings file cannot store.")
        .arg(key);
}

// Writes all of `bytes` into the open `file` and flushes it. False, with the
// cause in *reason, unless every byte reached the file: a full disk shows
// as a write that falls short (retried, the retry then fails with the cause)
// or as a flush that fails.
bool writeAll(QFileDevice &file, const QByteArray &bytes, QString *reason)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            break;
        written += count;
    }
    if (written == bytes.size() && file.flush() && file.error() == QFileDevice::NoError
        && file.size() == bytes.size())
        return true;
    *reason = file.error() != QFileDevice::NoError
                  ? file.errorString()
                  : QCoreApplication::translate("SettingsTree", "Only part of it was written.");
    return false;
}

// A scratch file of the new contents could not be written.
QString scratchFault(const QTemporaryDir &scratch, const QString &reason)
{
    return QCoreApplication::translate("SettingsTree",
                                       "The new contents could not be written to the temporary "
                                       "folder %1: %2")
        .arg(QDir::toNativeSeparators(scratch.path()), reason);
}

// Whether the bytes QSettings wrote for `keys` keys are all there: it writes
// a key a line and ends every line with a line break, and its sync() reports
// nothing when the disk is full.
bool writtenWhole(const QByteArray &bytes, int keys)
{
    if (bytes.isEmpty())
        return keys == 0;
    const IniDocument document(bytes);
    const QVector<IniDocument::Line> &lines = document.lines();
    const int keyLines = int(std::count_if(lines.cbegin(), lines.cend(), [](const auto &line) {
        return line.kind == IniDocument::LineKind::Key;
    }));
    return bytes.endsWith('\n') && keyLines == keys;
}

// Every key a write stores, by path, with the key that stores it there (of
// two alike the later), in the order of their paths, which is the order of
// QSettings::allKeys().
using StoredKeys = QVector<std::pair<QString, const SettingsNode *>>;
StoredKeys storedKeys(const SettingsNodes &nodes, int reserve)
{
    StoredKeys keys;
    keys.reserve(reserve);
    forEachKey(nodes, QString(), [&keys](const QString &path, const SettingsNode &node) {
        keys.append({path, &node});
    });
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    const auto later = [](const auto &a, const auto &b) {
        return a.first == b.first;
    };
    std::reverse(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end(), later), keys.end());
    std::reverse(keys.begin(), keys.end());
    return keys;
}

// Whether QSettings, on a path it has never read, reads exactly the values
// of `expected` from the file (keys it cannot reach by their path aside),
// with no format error unless `skippedLines` (of lines it skips).
bool readsBack(const QString &fileName, const StoredKeys &expected, bool skippedLines)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    try {
        const QStringList keys = settings.allKeys();
        if (settings.status() != QSettings::NoError
            && !(skippedLines && settings.status() == QSettings::FormatError))
            return false;
        // Both in the order of their paths.
        auto stored = expected.cbegin();
        for (const QString &key : keys) {
            if (key.isEmpty() || normalizedKey(key) != key)
                continue;
            if (stored == expected.cend() || stored->first != key
                || !IniDocument::sameValue(stored->second->valueToStore(), settings.value(key)))
                return false;
            ++stored;
        }
        return stored == expected.cend();
    } catch (const std::bad_alloc &) {
        return false;
    }
}

// The lines QSettings skips, without the line break that ends them.
QByteArrayList skippedLines(const IniDocument &document)
{
    QByteArrayList lines;
    for (const IniDocument::Line &line : document.lines()) {
        if (line.kind != IniDocument::LineKind::Damaged)
            continue;
        int end = line.end;
        while (end > line.begin
               && (document.bytes().at(end - 1) == '\n' || document.bytes().at(end - 1) == '\r'))
            --end;
        lines.append(document.bytes().mid(line.begin, end - line.begin));
    }
    return lines;
}

// Whether the lines of `edited` that QSettings skips are lines of `original`,
// byte for byte and in their order, and it has no damaged section header:
// the edits change no such line and add none. (That none goes but with its
// section is IniPatch's promise.)
bool keepsSkippedLines(const IniDocument &original, const IniDocument &edited)
{
    if (edited.firstDamagedHeader() >= 0)
        return false;
    const QByteArrayList kept = skippedLines(original);
    int next = 0;
    for (const QByteArray &line : skippedLines(edited)) {
        while (next < kept.size() && kept.at(next) != line)
            ++next;
        if (next++ == kept.size())
            return false;
    }
    return true;
}

// The first key line of `document` at fault; -1 for none.
template<typename AtFault> int firstKeyLine(const IniDocument &document, const AtFault &atFault)
{
    const QVector<IniDocument::Line> &lines = document.lines();
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).kind == IniDocument::LineKind::Key && atFault(lines.at(i)))
            return i;
    }
    return -1;
}

// Whether the file holds `bytes`, a missing file counting as empty.
bool unchangedOnDisk(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.exists())
        return bytes.isEmpty();
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// Whether a list item is written as it is: no escapes, no quotes, no "@".
bool isPlain(const QString &item)
{
    if (item.startsWith(QLatin1Char('@')) || item.startsWith(QLatin1Char(' '))
        || item.endsWith(QLatin1Char(' ')))
        return false;
    return std::all_of(item.cbegin(), item.cend(), [](QChar c) {
        const ushort ch = c.unicode();
        return ch >= 0x20 && ch != '\\' && ch != '"' && ch != ';' && ch != ',' && ch != '='
               && ch != 0xfeff;
    });
}

} // namespace

SettingsNode SettingsNode::section(const QString &name)
{
    SettingsNode node;
    node.kind = Kind::Section;
    node.name = name;
    return node;
}

SettingsNode SettingsNode::key(const QString &name, const QString &text)
{
    SettingsNode node;
    node.name = name;
    node.text = text;
    return node;
}

SettingsNode SettingsNode::readKey(const QString &name, const QVariant &value)
{
    SettingsNode node;
    node.name = name;
    node.text = SettingsTree::valueText(value);
    node.readValue = value;
    node.wasRead = true;
    return node;
}

bool SettingsNode::isEdited() const
{
    return !wasRead || text != SettingsTree::valueText(readValue);
}

QVariant SettingsNode::valueToStore() const
{
    if (!isEdited())
        return readValue;
    return wasRead ? SettingsTree::valueFromText(text, readValue) : QVariant(text);
}

QString SettingsTree::valueText(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        QTextCodec::ConverterState state;
        const QString text =
            QTextCodec::codecForMib(UTF8Mib)->toUnicode(bytes.constData(), bytes.size(), &state);
        const bool control = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
            return c.category() == QChar::Other_Control;
        });
        // A text that looks written would be read back as what it encodes.
        if (state.invalidChars == 0 && !control && !text.startsWith(QLatin1String("@ByteArray(")))
            return text;
        return QString::fromLatin1(IniDocument::escapedBytes(bytes));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        // Most lists hold plain words and numbers: shown as they are, quickly,
        // since isEdited() asks for this text again and again.
        if (value.userType() == QMetaType::QStringList) {
            const QStringList items = value.toStringList();
            if (items.size() > 1 && std::all_of(items.cbegin(), items.cend(), isPlain))
                return items.join(QLatin1String(", "));
        }
        const QString items = QString::fromUtf8(IniDocument::escapedItems(value.toList()));
        // One empty item, told from no items.
        return items.isEmpty() && value.toList().size() == 1 ? QStringLiteral("\"\"") : items;
    }
    default:
        return QString::fromUtf8(IniDocument::escapedValue(value));
    }
}

QVariant SettingsTree::valueFromText(const QString &text, const QVariant &read)
{
    switch (read.userType()) {
    case QMetaType::QString:
        return text;
    case QMetaType::QByteArray:
        if (text.startsWith(QLatin1String("@ByteArray(")) && text.endsWith(QLatin1Char(')'))) {
            // In quotes, so that a comma makes no list.
            const QVariant bytes = IniDocument::decodedValue('"' + text.toUtf8() + '"');
            if (bytes.userType() == QMetaType::QByteArray)
                return bytes;
        }
        return text.toUtf8();
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        const QVariant value = IniDocument::decodedValue(text.toUtf8());
        switch (value.userType()) {
        case QMetaType::QStringList:
        case QMetaType::QVariantList:
            return value;
        case QMetaType::QString:
            if (value.toString().isEmpty() && !text.contains(QLatin1Char('"')))
                return QStringList();
            return QStringList{value.toString()};
        default:
            return QVariantList{value};
        }
    }
    default:
        return IniDocument::decodedValue(text.toUtf8());
    }
}

void SettingsTree::write(const SettingsNodes &nodes, QSettings &settings)
{
    for (const SettingsNode &node : nodes) {
        if (node.isSection()) {
            settings.beginGroup(node.name);
            write(node.children, settings);
            settings.endGroup();
        } else if (!normalizedKey(node.name).isEmpty()) {
            settings.setValue(node.name, node.valueToStore());
        }
    }
}

SettingsTree::Content SettingsTree::content(const SettingsNodes &nodes)
{
    Content result;
    forEachKey(nodes, QString(), [&result](const QString &path, const SettingsNode &node) {
        result.insert(path, node.valueToStore());
    });
    return result;
}

QString SettingsTree::normalizedPath(const QString &path)
{
    return normalizedKey(path);
}

bool SettingsTree::sameTree(const SettingsNodes &a, const SettingsNodes &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const SettingsNode &x = a.at(i);
        const SettingsNode &y = b.at(i);
        if (x.kind != y.kind || x.name != y.name || x.text != y.text || x.wasRead != y.wasRead
            || !IniDocument::sameValue(x.readValue, y.readValue)
            || !sameTree(x.children, y.children))
            return false;
    }
    return true;
}

SettingsNodes SettingsTree::read(QSettings &settings)
{
    // QSettings decodes "@Variant(...)" values with QDataStream when it parses
    // a section, and QDataStream believes the item count a damaged list
    // claims: it throws when that much memory cannot be had. Such a file
    // cannot be read; readStatus says so.
    try {
        const QStringList keys = settings.allKeys();
        return readGroup(settings, keys, 0, keys.size(), 0, 0);
    } catch (const std::bad_alloc &) {
        return {};
    }
}

QSettings::Status SettingsTree::readStatus(QSettings &settings)
{
    QStringList keys;
    try {
        keys = settings.allKeys();
    } catch (const std::bad_alloc &) {
        return QSettings::FormatError;
    }
    for (const QString &key : qAsConst(keys)) {
        if (key.count(QLatin1Char('/')) > MaxDepth
            && normalizedKey(key).count(QLatin1Char('/')) > MaxDepth)
            return QSettings::FormatError;
    }
    return settings.status();
}

SettingsTree::ReadFault SettingsTree::readFault(QSettings &settings, const IniDocument &document)
{
    using Cause = ReadFault::Cause;
    if (document.firstDamagedHeader() >= 0)
        return {Cause::DamagedHeader, document.firstDamagedHeader()};
    try {
        // Parses every section, as allKeys() does, without listing every key.
        settings.childKeys();
    } catch (const std::bad_alloc &) {
        return {Cause::UndecodableValue,
                firstKeyLine(document, [&document](const IniDocument::Line &line) {
                    bool outOfMemory = false;
                    IniDocument::decodedValue(document.value(line), &outOfMemory);
                    return outOfMemory;
                })};
    }
    if (settings.status() == QSettings::AccessError)
        return {Cause::Unreadable, -1};
    // The keys QSettings reads are those of the lines. Every slash of a
    // path but the one after its section takes a byte of the line or the
    // header: only a longer path can be nested too deep.
    const int deep = firstKeyLine(document, [&document](const IniDocument::Line &line) {
        const IniDocument::Line *header =
            line.section < 0 ? nullptr : &document.lines().at(line.section);
        const int bytes =
            line.nameEnd - line.nameBegin + 1 + (header ? header->nameEnd - header->nameBegin : 0);
        return bytes > MaxDepth
               && normalizedKey(document.keyPath(line)).count(QLatin1Char('/')) > MaxDepth;
    });
    if (deep >= 0)
        return {Cause::TooDeep, deep};
    return {};
}

bool SettingsTree::save(const SettingsNodes &nodes, const QString &fileName, QString *error,
                        const IniDocument *original, const SaveSeams *seams)
{
    // QSettings keeps one cache per file for the whole process, and a write
    // that fails leaves its values pending there: every QSettings on the file
    // would read them, and the next successful sync would store them. So the
    // new contents are made in a scratch file of their own, and the file
    // itself is only ever replaced as a whole.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(error, QCoreApplication::translate("SettingsTree", "No temporary folder: %1")
                               .arg(scratch.errorString()));
    QByteArray bytes;
    if (original) {
        QString refused;
        forEachKey(nodes, QString(), [&refused](const QString &path, const SettingsNode &node) {
            if (refused.isNull() && beyondBmp(node.text) && node.isEdited())
                refused = path;
        });
        if (!refused.isNull())
            return fail(error, beyondBmpMessage(refused));
        bytes = seams && seams->patch ? seams->patch(*original, nodes)
                                      : IniPatch::patched(*original, nodes);
        // What QSettings does not read cleanly, only the file's own lines
        // keep: a whole rewrite would drop the lines it skips.
        const bool linesOnly = !original->isClean();
        if (!bytes.isNull() && linesOnly && !keepsSkippedLines(*original, IniDocument(bytes)))
            bytes = QByteArray();
        if (!bytes.isNull()) {
            const StoredKeys expected = storedKeys(nodes, original->lines().size());
            const QString keptName = scratch.filePath(QStringLiteral("kept.ini"));
            QFile kept(keptName);
            QString reason;
            if (!kept.open(QIODevice::WriteOnly) || !writeAll(kept, bytes, &reason))
                return fail(error,
                            scratchFault(scratch, reason.isEmpty() ? kept.errorString() : reason));
            kept.close();
            if (!readsBack(keptName, expected, linesOnly))
                bytes = QByteArray();
        }
        if (bytes.isNull() && linesOnly)
            return fail(error,
                        QCoreApplication::translate(
                            "SettingsTree", "Only a rewrite of the whole file could save the "
                                            "edit, and it would change lines that were not "
                                            "edited, such as line %1.")
                            .arg(original->lineNumber(original->firstFault())));
        if (bytes.isNull())
            qDebug().noquote() << "SettingsTree - the edited lines of" << fileName
                               << "do not read back as the tree; the file is rewritten whole";
        if (!bytes.isNull() && bytes == original->bytes())
            return true;
    }
    if (bytes.isNull()) {
        // Saving would silently take these characters out of the file.
        const Content stored = content(nodes);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
            if (beyondBmp(it.value()))
                return fail(error, beyondBmpMessage(it.key()));
        }
        const QString scratchName = scratch.filePath(QStringLiteral("settings.ini"));
        int keys = 0;
        {
            QSettings out(scratchName, QSettings::IniFormat);
            out.setIniCodec("UTF-8");
            write(nodes, out);
            out.sync();
            if (out.status() != QSettings::NoError) {
                // Leaves nothing pending in that cache either.
                out.clear();
                return fail(error, QCoreApplication::translate(
                                       "SettingsTree", "The new contents could not be prepared."));
            }
            keys = out.allKeys().size();
        }
        bytes = QByteArrayLiteral(""); // QSettings makes no file for an empty tree
        QFile made(scratchName);
        if (made.exists()) {
            if (!made.open(QIODevice::ReadOnly))
                return fail(error, made.errorString());
            bytes = made.readAll();
        }
        if (!writtenWhole(bytes, keys))
            return fail(error,
                        scratchFault(scratch, QCoreApplication::translate(
                                                  "SettingsTree", "Only part of it was written.")));
    }

    const QFileInfo info(fileName);
    const QString path = info.absoluteFilePath();
    if (!QDir().mkpath(info.absolutePath()))
        return fail(error,
                    QCoreApplication::translate("SettingsTree", "The folder %1 cannot be created.")
                        .arg(QDir::toNativeSeparators(info.absolutePath())));
    // The lock that QSettings takes on the same file when it writes it.
    const QString lockName = path + QLatin1String(".lock");
    QLockFile lock(lockName);
    if (!lock.tryLock(LockTimeoutMs)) {
        return fail(error, lock.error() == QLockFile::LockFailedError
                               ? QCoreApplication::translate(
                                   "SettingsTree", "The file is locked by another program.")
                               : QCoreApplication::translate("SettingsTree",
                                                             "The lock file %1 cannot be created.")
                                     .arg(QDir::toNativeSeparators(lockName)));
    }
    // Another program (the host, say) may have written the file since it was
    // read: replacing it would lose what that program wrote.
    if (original && !unchangedOnDisk(path, original->bytes()))
        return fail(error, QCoreApplication::translate(
                               "SettingsTree", "The file changed on disk after it was opened; "
                                               "open it again to edit what it holds now."));
    if (seams && seams->beforeWrite)
        seams->beforeWrite();
    // QSaveFile::commit() puts its file in place even when its last flush
    // failed: only contents written whole are committed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    QString reason;
    if (!writeAll(file, bytes, &reason)) {
        file.cancelWriting();
        return fail(error, reason);
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}
