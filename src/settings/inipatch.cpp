#include "inipatch.h"

#include <QBitArray>
#include <QHash>
#include <QSet>
#include <QVector>

#include <optional>

namespace {

using LineKind = IniDocument::LineKind;

QString joined(const QString &path, const QString &name)
{
    if (path.isEmpty())
        return name;
    QString result;
    result.reserve(path.size() + 1 + name.size());
    return result.append(path).append(QLatin1Char('/')).append(name);
}

QString parentOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

bool addressable(const QString &path)
{
    return !path.isEmpty() && SettingsTree::normalizedPath(path) == path;
}

// Entries (indexes) by their path, without an allocation per entry: open
// addressing in a table of at least twice as many slots as entries.
class PathTable
{
public:
    explicit PathTable(int entries)
    {
        int size = 16;
        while (size < 2 * entries)
            size *= 2;
        m_slots.fill(-1, size);
    }

    // The slot of the entry of `path`, or of none (-1) where it would go;
    // `pathOf` gives an entry's path.
    template<typename PathOf> int &slot(const QString &path, const PathOf &pathOf)
    {
        const uint mask = uint(m_slots.size() - 1);
        for (uint i = qHash(path) & mask;; i = (i + 1) & mask) {
            int &entry = m_slots[int(i)];
            if (entry < 0 || pathOf(entry) == path)
                return entry;
        }
    }
    template<typename PathOf> int find(const QString &path, const PathOf &pathOf) const
    {
        return const_cast<PathTable *>(this)->slot(path, pathOf);
    }

private:
    QVector<int> m_slots;
};

// A key that the edited tree writes.
struct WrittenKey
{
    QString path;
    QString section; // the path of the section it is written into, empty at the top
    const SettingsNode *node = nullptr;
    bool edited = false;
};

// What the edited tree writes, and where its keys and sections were read.
struct EditedTree
{
    QVector<WrittenKey> keys; // in the order they are written
    // By path: the key written there last, the one QSettings keeps.
    PathTable keptKeys{0};
    // By key path as read: the kept key that moved from there.
    QHash<QString, int> keptKeyMovedFrom;
    // By section path as read: its path now.
    QHash<QString, QString> sectionPathNow;

    int keptKeyAt(const QString &path) const
    {
        return keptKeys.find(path,
                             [this](int key) -> const QString & { return keys.at(key).path; });
    }
    bool isKept(int key) const { return keptKeyAt(keys.at(key).path) == key; }
    // The kept key read at `path`, if any: mostly the one written there.
    int keptKeyReadAt(const QString &path) const
    {
        const int key = keptKeyAt(path);
        if (key >= 0 && keys.at(key).node->wasRead && keys.at(key).node->origin == path)
            return key;
        return keptKeyMovedFrom.value(path, -1);
    }
};

// A line of the file: its text, what QSettings read from it, and what
// becomes of it.
struct LineRecord
{
    const IniDocument::Line *text = nullptr;
    // A key's path as read; a section line's prefix as read ("a/b/", empty
    // for "[General]").
    QString path;
    // A key line that QSettings takes: of the lines of one path, the one it
    // parses last.
    bool effective = false;

    // What becomes of it.
    bool removed = false;
    QString prefixNow; // a section line's prefix once the edits are made
    QByteArray name;   // between a section's brackets, or a key's text; null: as it is
    QByteArray value;  // null: as it is
};

// The lines of the file as read, and every section path that QSettings
// lists because a key lies below it.
struct ReadLines
{
    QVector<LineRecord> lines;
    QSet<QString> sections;
};

// The lines after the edits, and where the kept keys of the edited tree are.
struct EditedLines
{
    QVector<LineRecord> lines;
    QVector<int> lineOfKey;            // by written key: the line holding it, -1 for none
    QHash<int, QByteArray> movedValue; // by written key: the value of its line read, which went
    QHash<QString, int> lastHeader;    // by section path now: its last header line
};

// Lines that the edited tree adds.
struct AddedLines
{
    QHash<int, QByteArrayList> after; // by line, -1 for the top of the file
    QByteArrayList appended;
};

} // namespace

Q_DECLARE_TYPEINFO(WrittenKey, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(LineRecord, Q_MOVABLE_TYPE);

namespace {

// As SettingsTree::write stores the tree: a section or key name is a path
// relative to its section; a nameless section writes into its parent.
void collect(const SettingsNodes &nodes, const QString &section, EditedTree &tree)
{
    for (const SettingsNode &node : nodes) {
        const QString name = SettingsTree::normalizedPath(node.name);
        if (node.isSection()) {
            const QString path = joined(section, name);
            if (node.wasRead)
                tree.sectionPathNow.insert(node.origin, path);
            collect(node.children, path, tree);
        } else if (!name.isEmpty()) {
            WrittenKey key;
            key.path = joined(section, name);
            key.section = name.contains(QLatin1Char('/')) ? parentOf(key.path) : section;
            key.node = &node;
            key.edited = node.isEdited();
            tree.keys.append(std::move(key));
        }
    }
}

EditedTree editedTree(const SettingsNodes &nodes, int lineCount)
{
    EditedTree tree;
    tree.keys.reserve(lineCount);
    collect(nodes, QString(), tree);
    tree.keptKeys = PathTable(tree.keys.size());
    for (int k = 0; k < tree.keys.size(); ++k) {
        tree.keptKeys.slot(tree.keys.at(k).path, [&tree](int key) -> const QString & {
            return tree.keys.at(key).path;
        }) = k;
    }
    for (int k = 0; k < tree.keys.size(); ++k) {
        const WrittenKey &key = tree.keys.at(k);
        if (key.node->wasRead && key.node->origin != key.path && tree.isKept(k))
            tree.keptKeyMovedFrom.insert(key.node->origin, k);
    }
    return tree;
}

// Of two lines of one key, QSettings takes the one it parses last: it parses
// the sections in the order of their names, and lines of one name in the
// order of the file.
ReadLines readLines(const IniDocument &document)
{
    const QVector<IniDocument::Line> &lines = document.lines();
    ReadLines read;
    read.lines.resize(lines.size());
    PathTable effective(lines.size()); // key path: the line QSettings takes
    const auto pathOf = [&read](int line) -> const QString & {
        return read.lines.at(line).path;
    };
    QBitArray keyRead(lines.size()); // by section line
    const QString top;
    for (int i = 0; i < lines.size(); ++i) {
        const IniDocument::Line &line = lines.at(i);
        LineRecord &record = read.lines[i];
        record.text = &line;
        if (line.kind == LineKind::Section) {
            record.path = document.sectionPrefix(i);
            continue;
        }
        if (line.kind != LineKind::Key)
            continue;
        const QString &prefix = line.section < 0 ? top : read.lines.at(line.section).path;
        record.path = prefix + document.keyName(line);
        record.effective = true;
        int &taken = effective.slot(record.path, pathOf);
        if (taken < 0) {
            taken = i;
        } else if (const int section = lines.at(taken).section;
                   prefix >= (section < 0 ? top : read.lines.at(section).path)) {
            read.lines[taken].effective = false;
            taken = i;
        } else {
            record.effective = false;
        }
        // Every section above a key was read; those of its header are noted
        // with its first key.
        const int header = line.section < 0 || keyRead.testBit(line.section) ? prefix.size() : 1;
        if (line.section >= 0)
            keyRead.setBit(line.section);
        const QString &path = record.path;
        for (int slash = path.lastIndexOf(QLatin1Char('/')); slash >= qMax(header, 1);
             slash = path.lastIndexOf(QLatin1Char('/'), slash - 1))
            read.sections.insert(path.left(slash));
    }
    return read;
}

// A section line follows the deepest section read that holds it: renamed
// with it, or removed with it (nothing then).
std::optional<QString> prefixNow(const QString &prefix, const QSet<QString> &readSections,
                                 const EditedTree &tree)
{
    if (prefix.isEmpty())
        return prefix;
    const QString path = prefix.chopped(1);
    for (QString above = path; !above.isEmpty();) {
        // The tree holds no section QSettings cannot reach by its path.
        if (readSections.contains(above) && addressable(above)) {
            const auto now = tree.sectionPathNow.constFind(above);
            if (now == tree.sectionPathNow.cend())
                return std::nullopt;
            const QString moved =
                above.size() == path.size() ? *now : joined(*now, path.mid(above.size() + 1));
            return moved.isEmpty() ? QString() : moved + QLatin1Char('/');
        }
        const int slash = above.lastIndexOf(QLatin1Char('/'));
        above = slash > 0 ? above.left(slash) : QString();
    }
    return prefix;
}

// A removed section takes its header and its lines up to its last key along;
// the comments after that, and lines QSettings skips ("#" comments), belong to
// the next section.
void removeSection(QVector<LineRecord> &lines, int header)
{
    int last = header;
    for (int i = header + 1; i < lines.size(); ++i) {
        const LineKind kind = lines.at(i).text->kind;
        if (kind == LineKind::Section)
            break;
        if (kind == LineKind::Key)
            last = i;
    }
    for (int i = header; i <= last; ++i)
        lines[i].removed = true;
}

// Section lines renamed or removed with their sections; key lines kept,
// renamed, given their new value or removed, as the tree that holds them now
// says.
EditedLines editLines(ReadLines read, const EditedTree &tree, const IniDocument &document)
{
    EditedLines edited;
    edited.lineOfKey = QVector<int>(tree.keys.size(), -1);
    QVector<LineRecord> &lines = read.lines;
    const QString top;
    for (int i = 0; i < lines.size(); ++i) {
        LineRecord &record = lines[i];
        const IniDocument::Line &line = *record.text;
        if (line.kind == LineKind::Section) {
            const std::optional<QString> prefix = prefixNow(record.path, read.sections, tree);
            if (!prefix) {
                removeSection(lines, i);
                continue;
            }
            record.prefixNow = *prefix;
            const QString path = prefix->isEmpty() ? QString() : prefix->chopped(1);
            if (*prefix != record.path) {
                record.name = IniDocument::sectionName(path);
                // A quote opened in the old name may close after the bracket.
                record.value = QByteArrayLiteral("]");
            }
            if (prefix->isEmpty() || addressable(path))
                edited.lastHeader.insert(path, i);
            continue;
        }
        if (line.kind != LineKind::Key)
            continue;
        const LineRecord *header = line.section < 0 ? nullptr : &lines.at(line.section);
        if (header && header->removed)
            continue; // with its section
        const QString &path = record.path;
        if (!addressable(path))
            continue; // QSettings cannot reach it: the tree does not hold it
        const QString &prefix = header ? header->path : top;
        const QString &prefixNow = header ? header->prefixNow : top;
        const QString place = prefixNow == prefix ? path : prefixNow + path.mid(prefix.size());
        const int key = tree.keptKeyReadAt(path);
        if (!record.effective) {
            // Overridden by a later line: harmless only while both stay.
            if (key < 0 || tree.keys.at(key).path != path || place != path)
                record.removed = true;
            continue;
        }
        if (key < 0) {
            record.removed = true;
            continue;
        }
        const WrittenKey &written = tree.keys.at(key);
        if (written.path != place) {
            if (!written.path.startsWith(prefixNow) || written.path.size() == prefixNow.size()) {
                edited.movedValue.insert(key, document.value(line));
                record.removed = true;
                continue;
            }
            record.name = IniDocument::escapedKey(written.path.mid(prefixNow.size()));
        }
        if (written.edited)
            record.value = IniDocument::escapedValue(written.node->valueToStore());
        edited.lineOfKey[key] = i;
    }
    edited.lines = std::move(lines);
    return edited;
}

// Kept keys without a line of their own: after the last key of their
// section, or its header; else in a section of their own at the end, as
// QSettings writes one: its name the key's first path part. Nothing when a
// key read has no line and no edited value to write, or when a section would
// follow an open last line that QSettings skips.
std::optional<AddedLines> addedLines(const EditedLines &edited, const EditedTree &tree,
                                     const IniDocument &document)
{
    QVector<int> homeless;
    for (int k = 0; k < tree.keys.size(); ++k) {
        if (edited.lineOfKey.at(k) < 0 && tree.isKept(k))
            homeless.append(k);
    }
    AddedLines added;
    if (homeless.isEmpty())
        return added;
    QHash<QString, int> lastKeyLine; // by section path now
    for (int k = 0; k < tree.keys.size(); ++k) {
        const int line = edited.lineOfKey.at(k);
        if (line >= 0) {
            const QString &section = tree.keys.at(k).section;
            lastKeyLine[section] = qMax(lastKeyLine.value(section), line);
        }
    }
    const QVector<IniDocument::Line> &lines = document.lines();
    QVector<QString> groups;
    QHash<QString, QByteArrayList> blocks;
    for (const int k : qAsConst(homeless)) {
        const WrittenKey &key = tree.keys.at(k);
        QByteArray value;
        if (key.edited)
            value = IniDocument::escapedValue(key.node->valueToStore());
        else if (edited.movedValue.contains(k))
            value = edited.movedValue.value(k);
        else
            return std::nullopt;

        int anchor = lastKeyLine.value(key.section, -1);
        if (anchor < 0)
            anchor = edited.lastHeader.value(key.section, -1);
        if (anchor >= 0) {
            const IniDocument::Line &line = lines.at(anchor);
            const int section = line.kind == LineKind::Section ? anchor : line.section;
            const QString prefix = section < 0 ? QString() : edited.lines.at(section).prefixNow;
            if (key.path.startsWith(prefix) && key.path.size() > prefix.size()) {
                // Nothing follows an open last line without changing it: a key
                // goes before that line instead, when it is a key of the section.
                if (anchor == lines.size() - 1 && document.endsOpen() && line.kind == LineKind::Key)
                    --anchor;
                added.after[anchor].append(IniDocument::escapedKey(key.path.mid(prefix.size()))
                                           + '=' + value);
                continue;
            }
        }
        const int slash = key.path.indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : key.path.left(slash);
        if (!blocks.contains(group))
            groups.append(group);
        blocks[group].append(IniDocument::escapedKey(key.path.mid(slash + 1)) + '=' + value);
    }
    // A skipped line left open at the end would have to change for a line to
    // follow it.
    if (!groups.isEmpty() && document.endsOpen() && lines.last().kind == LineKind::Damaged)
        return std::nullopt;
    bool blankBefore = !lines.isEmpty() && lines.last().kind != LineKind::Blank;
    for (const QString &group : qAsConst(groups)) {
        if (blankBefore)
            added.appended.append(QByteArray());
        blankBefore = true;
        added.appended.append('[' + IniDocument::sectionName(group) + ']');
        added.appended += blocks.value(group);
    }
    return added;
}

IniDocument::Edits editsOf(const EditedLines &edited, AddedLines added)
{
    IniDocument::Edits edits;
    for (int i = 0; i < edited.lines.size(); ++i) {
        const LineRecord &record = edited.lines.at(i);
        if (record.removed) {
            edits.removed.insert(i);
            continue;
        }
        if (!record.name.isNull())
            edits.names.insert(i, record.name);
        if (!record.value.isNull())
            edits.values.insert(i, record.value);
    }
    edits.after = std::move(added.after);
    edits.appended = std::move(added.appended);
    return edits;
}

} // namespace

QByteArray IniPatch::patched(const IniDocument &document, const SettingsNodes &edited)
{
    const EditedTree tree = editedTree(edited, document.lines().size());
    const EditedLines lines = editLines(readLines(document), tree, document);
    const std::optional<AddedLines> added = addedLines(lines, tree, document);
    if (!added)
        return QByteArray();
    return document.edited(editsOf(lines, *added));
}
