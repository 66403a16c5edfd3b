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

namespace EditedSave {

// The text of the key at `changed` becomes `text`; the key at `removed`, unless
// it is that one, goes; a key "added key" is appended to the last section (to
// the top when `addAtTop` or there is none); the first section is renamed when
// `rename`. Key indexes count the tree's keys in order, modulo their number.
struct Edits
{
    QString text;
    int changed = 0;
    int removed = -1;
    bool addAtTop = false;
    bool rename = true;
};

// What the edits touched: the paths of the keys and the renamed section's
// prefix ("name/").
struct Touched
{
    QSet<QString> keys;
    QString section;
};

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

    Touched touched;
    if (const int count = keys.size()) {
        const Key &changed = keys.at((edits.changed % count + count) % count);
        (*changed.level)[changed.index].text = edits.text;
        touched.keys.insert(changed.path);
        const Key &removed = keys.at((edits.removed % count + count) % count);
        if (&removed != &changed) {
            touched.keys.insert(removed.path);
            removed.level->remove(removed.index);
        }
    }
    const bool top = edits.addAtTop || nodes->isEmpty() || !nodes->last().isSection();
    // Quoted or it would read back as a list without its leading space.
    (top ? *nodes : nodes->last().children)
        .append(SettingsNode::key(QStringLiteral("added key"), QStringLiteral(" a, b")));
    // A key of that name there is replaced.
    touched.keys.insert(top ? QStringLiteral("added key")
                            : nodes->last().name + QLatin1String("/added key"));
    for (SettingsNode &node : *nodes) {
        if (edits.rename && node.isSection()) {
            touched.section = node.name + QLatin1Char('/');
            node.name = QStringLiteral("renamed section");
            break;
        }
    }
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
// keys, types and values (alike when streamed: a NaN equals nothing). Empty
// when it does.
inline QString readBackFault(const QString &fileName, const SettingsNodes &nodes)
{
    QSettings::Status status = QSettings::NoError;
    const SettingsTree::Content read = reachableContent(fileName, &status);
    const SettingsTree::Content expected = SettingsTree::content(nodes);
    if (status != QSettings::NoError)
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

// Whether `after` still has every line of `before` that no edit touched, in
// its order; if not, `lost` is the first one missing.
inline bool keepsUntouchedLines(const IniDocument &before, const IniDocument &after,
                                const Touched &touched, QByteArray *lost)
{
    const auto text = [](const IniDocument &document, const IniDocument::Line &line) {
        QByteArray bytes = document.bytes().mid(line.begin, line.end - line.begin);
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        return bytes;
    };
    int next = 0;
    for (const IniDocument::Line &line : before.lines()) {
        const bool key = line.kind == IniDocument::LineKind::Key;
        const QString path = key ? before.keyPath(line) : before.sectionPrefix(line.section);
        if ((key && touched.keys.contains(path))
            || (!touched.section.isEmpty() && line.kind != IniDocument::LineKind::Blank
                && line.kind != IniDocument::LineKind::Comment && path.startsWith(touched.section)))
            continue;
        const QByteArray wanted = text(before, line);
        // An open last line may have been closed for a line to follow it.
        const bool closable = &line == &before.lines().last() && before.endsOpen();
        while (next < after.lines().size()
               && !(closable ? text(after, after.lines().at(next)).startsWith(wanted)
                             : text(after, after.lines().at(next)) == wanted))
            ++next;
        if (next == after.lines().size()) {
            *lost = wanted;
            return false;
        }
        ++next;
    }
    return true;
}

} // namespace EditedSave
