#pragma once

// A tree edited and saved into its file's own lines, checked the same way by
// the settings test on chosen files and by the fuzz target on any: the edits,
// what QSettings reads back, and the lines that must survive.

#include "inidocument.h"
#include "settingstree.h"

#include <QDataStream>
#include <QSet>
#include <QSettings>
#include <QStringList>

#include <functional>
#include <optional>

namespace EditedSave {

// The text of the key at `changed` becomes `text`; the key at `removed`, unless
// it is that one, goes; so does the top-level section at `removedSection`; a
// key "added key" is added as `add` says (to the last section, or the top when
// there is none); the first section left is renamed when `rename`. Indexes
// count the tree's keys, or its top-level sections, in order, modulo their
// number.
struct Edits
{
    enum class Add { ToLastSection, AtTop, InNewSection };
    QString text;
    int changed = 0;
    int removed = -1;
    std::optional<int> removedSection;
    Add add = Add::ToLastSection;
    bool rename = true;
};

// What the edits touched: paths of keys as read, prefixes ("name/") of
// sections as read, and the added key's path as written.
struct Touched
{
    QString changed;
    QString removed;
    QString removedSection;
    QString renamedSection;
    QString added;
};

// The text of the key added: written in quotes, or it would read back as a
// list without its leading space.
inline QString addedText()
{
    return QStringLiteral(" a, b");
}

inline Touched edit(SettingsNodes *nodes, const Edits &edits)
{
    struct Key
    {
        SettingsNodes *level;
        int index;
        QString path;
    };
    QVector<Key> keys;
    std::function<void(SettingsNodes &, const QString &)> collect = [&](SettingsNodes &level,
                                                                        const QString &prefix) {
        for (int i = 0; i < level.size(); ++i) {
            if (level[i].isSection())
                collect(level[i].children, prefix + level[i].name + QLatin1Char('/'));
            else
                keys.append({&level, i, prefix + level[i].name});
        }
    };
    collect(*nodes, QString());
    const auto at = [](int index, int count) {
        return (index % count + count) % count;
    };

    Touched touched;
    if (const int count = keys.size()) {
        const Key &changed = keys.at(at(edits.changed, count));
        (*changed.level)[changed.index].text = edits.text;
        touched.changed = changed.path;
        const Key &removed = keys.at(at(edits.removed, count));
        if (&removed != &changed) {
            touched.removed = removed.path;
            removed.level->remove(removed.index);
        }
    }
    QVector<int> sections;
    for (int i = 0; i < nodes->size(); ++i) {
        if (nodes->at(i).isSection())
            sections.append(i);
    }
    if (edits.removedSection && !sections.isEmpty()) {
        const int removed = sections.at(at(*edits.removedSection, sections.size()));
        touched.removedSection = nodes->at(removed).name + QLatin1Char('/');
        nodes->remove(removed);
    }
    if (edits.add == Edits::Add::InNewSection)
        nodes->append(SettingsNode::section(QStringLiteral("added section")));
    const bool top =
        edits.add == Edits::Add::AtTop || nodes->isEmpty() || !nodes->last().isSection();
    // A key of that name there is replaced.
    (top ? *nodes : nodes->last().children)
        .append(SettingsNode::key(QStringLiteral("added key"), addedText()));
    for (SettingsNode &node : *nodes) {
        if (edits.rename && node.isSection()) {
            touched.renamedSection = node.name + QLatin1Char('/');
            node.name = QStringLiteral("renamed section");
            break;
        }
    }
    touched.added =
        (top ? QString() : nodes->last().name + QLatin1Char('/')) + QLatin1String("added key");
    return touched;
}

// What QSettings reads from the file by the paths it can reach. It lists a key
// without a name ("=x") and the keys of a nameless section ("[]") or one with
// an empty part ("[a//b]", "/k=1") with that part, but normalises every path
// it is given: value() and setValue() land on another key, or on none.
inline SettingsTree::Content reachableContent(const QString &fileName, QSettings::Status *status)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    SettingsTree::Content content;
    for (const QString &key : settings.allKeys()) {
        if (!key.isEmpty() && SettingsTree::normalizedPath(key) == key)
            content.insert(key, settings.value(key));
    }
    *status = settings.status();
    return content;
}

inline QByteArray streamed(const QVariant &value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    return bytes;
}

// How the file fails to read back as exactly what writing `nodes` leaves:
// keys, types and values (alike when streamed: a NaN equals nothing), and no
// format error unless it has `skippedLines`. Empty when it does.
inline QString readBackFault(const QString &fileName, const SettingsNodes &nodes,
                             bool skippedLines = false)
{
    QSettings::Status status = QSettings::NoError;
    const SettingsTree::Content read = reachableContent(fileName, &status);
    const SettingsTree::Content expected = SettingsTree::content(nodes);
    if (status != QSettings::NoError && !(skippedLines && status == QSettings::FormatError))
        return QStringLiteral("format error");
    if (read.keys() != expected.keys())
        return QStringList(read.keys()).join(QLatin1Char(',')) + QLatin1String(" instead of ")
               + QStringList(expected.keys()).join(QLatin1Char(','));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant value = read.value(it.key());
        if (it->userType() != value.userType()
            || (*it != value && streamed(*it) != streamed(value)))
            return it.key() + QLatin1String(": ") + QLatin1String(value.typeName())
                   + QLatin1Char(' ') + value.toString() + QLatin1String(" instead of ")
                   + QLatin1String(it->typeName()) + QLatin1Char(' ') + it->toString();
    }
    return QString();
}

inline QString parentPath(const QString &path)
{
    return path.left(qMax(0, path.lastIndexOf(QLatin1Char('/'))));
}

// How `after` fails to be `before` with exactly the lines of the edits
// changed; empty when it is that. Every other line stays byte for byte and in
// its order. The edited value changes only its value; a renamed section's
// headers change only their names, and so do its keys written elsewhere; the
// removed key loses all its lines, the removed section its headers with what
// lies between them and their last keys (lines QSettings skips after them
// stay), and all its keys elsewhere. Of a renamed section, keys overridden by
// a later line may go. The added key is one line where its section is, else
// a section of its own at the end, after a blank line, as QSettings writes
// one. What line breaks force is allowed:
// the last line may gain one when a line follows (and first what closes it
// when open; but a key goes before an open last key), and a line ending in a
// lone CR gains an LF when a line that starts with LF comes to follow it.
inline QString editFault(const IniDocument &before, const IniDocument &after,
                         const Touched &touched)
{
    using Kind = IniDocument::LineKind;
    enum class Fate { Kept, Changed, Removed, MayGo };
    const QVector<IniDocument::Line> &lines = before.lines();
    const QVector<IniDocument::Line> &out = after.lines();
    const auto addressable = [](const QString &path) {
        return !path.isEmpty() && SettingsTree::normalizedPath(path) == path;
    };
    const auto under = [](const QString &path, const QString &prefix) {
        return !prefix.isEmpty() && path.startsWith(prefix);
    };
    // A path as the edited tree writes it.
    const auto written = [&touched, &under](QString path) {
        if (under(path, touched.renamedSection))
            path.replace(0, touched.renamedSection.size() - 1, QStringLiteral("renamed section"));
        return path;
    };
    // The line QSettings takes for a key: the last one of the sections it
    // parses last, in the order of their names.
    QHash<QString, int> effective;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).kind != Kind::Key)
            continue;
        const QString path = before.keyPath(lines.at(i));
        const auto found = effective.constFind(path);
        if (found == effective.cend()
            || before.sectionPrefix(lines.at(i).section)
                   >= before.sectionPrefix(lines.at(*found).section))
            effective.insert(path, i);
    }

    QVector<Fate> fates(lines.size(), Fate::Kept);
    QVector<int> changedFrom(lines.size(), 0); // where a changed line may start to differ
    const QString addedSection = parentPath(touched.added);
    bool placed = false; // whether a line of the added key's section stays
    for (int i = 0, removedUpTo = -1; i < lines.size(); ++i) {
        const IniDocument::Line &line = lines.at(i);
        const bool key = line.kind == Kind::Key;
        const bool header = line.kind == Kind::Section;
        const QString path = key      ? before.keyPath(line)
                             : header ? before.sectionPrefix(i)
                                      : QString();
        const bool isEffective = key && effective.value(path) == i;
        if (header && under(path, touched.removedSection)) {
            removedUpTo = i;
            for (int j = i + 1; j < lines.size() && lines.at(j).kind != Kind::Section; ++j) {
                if (lines.at(j).kind == Kind::Key)
                    removedUpTo = j;
            }
        }
        if (i <= removedUpTo) {
            fates[i] = Fate::Removed;
            continue;
        }
        // The tree holds no key that QSettings cannot reach by its path.
        if (key && !addressable(path))
            continue;
        if (key && (path == touched.removed || under(path, touched.removedSection))) {
            fates[i] = Fate::Removed;
            continue;
        }
        if (key && path == touched.added) {
            fates[i] = Fate::MayGo; // replaced by the added key
        } else if (key && under(path, touched.renamedSection)) {
            fates[i] = !isEffective ? Fate::MayGo
                       : under(before.sectionPrefix(line.section), touched.renamedSection)
                           ? Fate::Kept
                           : Fate::Changed;
            changedFrom[i] = line.nameBegin;
        } else if (header && under(path, touched.renamedSection)) {
            fates[i] = Fate::Changed;
            changedFrom[i] = line.nameBegin;
        }
        if (isEffective && path == touched.changed && fates[i] == Fate::Kept) {
            fates[i] = Fate::Changed;
            changedFrom[i] = line.valueBegin;
        }
        if (fates[i] == Fate::MayGo)
            continue;
        if (isEffective && parentPath(written(path)) == addedSection)
            placed = true;
        // A header's section is its prefix without the slash, the top of the
        // file for none; one QSettings cannot reach takes no keys.
        const QString section = header && !path.isEmpty() ? written(path).chopped(1) : QString();
        if (header && (path.isEmpty() || addressable(section)) && section == addedSection)
            placed = true;
    }

    // Added lines end in the file's first line break ("\n" when it has none).
    const int lf = before.bytes().indexOf('\n');
    const int cr = before.bytes().indexOf('\r');
    const QByteArray lineBreak = cr < 0 || (lf >= 0 && lf < cr) ? "\n"
                                 : lf == cr + 1                 ? "\r\n"
                                                                : "\r";
    const auto text = [](const IniDocument &document, int index) {
        const IniDocument::Line &line = document.lines().at(index);
        return document.bytes().mid(line.begin, line.end - line.begin);
    };
    const auto isBreak = [](char c) {
        return c == '\n' || c == '\r';
    };
    // What after-line j may have been before line breaks were forced on it:
    // itself, without an LF taken from a line after it, or, as the last line,
    // without what ended it for a line to follow.
    const auto forms = [&](int j, bool last) {
        const QByteArray got = text(after, j);
        QByteArrayList result{got};
        if (got.endsWith("\r\n") && j + 1 < out.size() && text(after, j + 1).startsWith('\n'))
            result.append(got.chopped(1));
        if (last && j + 1 < out.size()) {
            for (int chop = 1; chop <= qMin(3, got.size()) && isBreak(got.back()); ++chop)
                result.append(got.chopped(chop));
        }
        return result;
    };
    const auto matches = [&](int i, int j) {
        const IniDocument::Line &line = lines.at(i);
        const QByteArray &bytes = before.bytes();
        const bool last = i == lines.size() - 1 && (!isBreak(bytes.back()) || before.endsOpen())
                          && (!before.endsOpen() || line.kind == Kind::Section || !placed);
        for (const QByteArray &got : forms(j, last)) {
            if (fates[i] != Fate::Changed) {
                if (got == bytes.mid(line.begin, line.end - line.begin))
                    return true;
                continue;
            }
            const QByteArray head = bytes.mid(line.begin, changedFrom[i] - line.begin);
            const QByteArray tail = bytes.mid(line.valueEnd, line.end - line.valueEnd);
            if (got.startsWith(head) && got.endsWith(tail)
                && got.size() >= head.size() + tail.size())
                return true;
        }
        return false;
    };
    const QByteArray addedValue = IniDocument::escapedText(addedText());
    const auto isAdded = [&](int j) {
        const IniDocument::Line &line = out.at(j);
        if (line.kind != Kind::Key || after.keyPath(line) != touched.added)
            return false;
        const QByteArray wanted =
            IniDocument::escapedKey(after.keyName(line)) + '=' + addedValue + lineBreak;
        return forms(j, false).contains(wanted);
    };
    const auto lost = [&](int i) {
        return QStringLiteral("line %1 lost or changed: ").arg(i + 1)
               + QString::fromUtf8(text(before, i));
    };

    // What may follow the last line: the added key, or its section, and
    // nothing else.
    const auto tailFault = [&](int j, bool added) {
        if (placed && !added && j < out.size() && isAdded(j)) {
            added = true;
            ++j;
        }
        if (!placed) {
            // Where QSettings would put a section of its own.
            if (!lines.isEmpty() && lines.last().kind != Kind::Blank) {
                if (j == out.size() || !forms(j++, false).contains(lineBreak))
                    return QStringLiteral("no blank line before the added section");
            }
            if (j == out.size()
                || !forms(j++, false)
                        .contains('[' + IniDocument::sectionName(addedSection) + ']' + lineBreak))
                return QStringLiteral("no header of the added section");
            added = j < out.size() && isAdded(j++);
        }
        if (j < out.size())
            return QStringLiteral("line %1 added: ").arg(j + 1) + QString::fromUtf8(text(after, j));
        return added ? QString() : QStringLiteral("the added key is missing");
    };
    // The lines of `after` are those of `before` in order, with the added key
    // among them: searched for, since a line that may go can be like one that
    // stays.
    struct Step
    {
        int i;
        int j;
        bool added;
    };
    QVector<Step> steps{{0, 0, false}};
    QSet<qint64> seen;
    int furthest = 0;
    QString fault;
    while (!steps.isEmpty()) {
        const auto [i, j, added] = steps.takeLast();
        const qint64 id = (qint64(i) * (out.size() + 1) + j) * 2 + added;
        if (seen.contains(id))
            continue;
        seen.insert(id);
        if (i == lines.size()) {
            fault = tailFault(j, added);
            if (fault.isEmpty())
                return fault;
            continue;
        }
        furthest = qMax(furthest, i);
        if (fates[i] == Fate::Removed || fates[i] == Fate::MayGo)
            steps.append({i + 1, j, added});
        if (placed && !added && j < out.size() && isAdded(j))
            steps.append({i, j + 1, true});
        if (fates[i] != Fate::Removed && j < out.size() && matches(i, j))
            steps.append({i + 1, j + 1, added});
    }
    return fault.isEmpty() ? lost(furthest) : fault;
}

} // namespace EditedSave
