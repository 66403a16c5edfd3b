#include "inipatch.h"

#include <QBitArray>
#include <QHash>
#include <QSet>
#include <QVector>

#include <algorithm>

namespace {

QString joined(const QString &path, const QString &name)
{
    return path.isEmpty() ? name : path + QLatin1Char('/') + name;
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

// A key that the edited tree writes.
struct Target
{
    QString path;
    QString section; // the path of its section, empty at the top
    const SettingsNode *node = nullptr;
    int line = -1; // the line that holds it, once placed
    bool placed = false;
    bool moved = false;    // read, but its line could not stay
    QByteArray movedValue; // that line's value
};

// What becomes of a section line: the prefix its keys have now.
struct SectionFate
{
    bool removed = false;
    QString prefix;
};

class Patcher
{
public:
    Patcher(const IniDocument &document, const SettingsNodes &edited);
    QByteArray result();

private:
    void collect(const SettingsNodes &nodes, const QString &section);
    void readKeys();
    SectionFate fateOf(int section) const;
    int targetOf(const QString &path) const;
    void editLines();
    void removeSection(int header);
    bool placeRest();
    QString prefixRead(int section) const { return section < 0 ? QString() : m_prefixes[section]; }

    const IniDocument &m_document;
    const QVector<IniDocument::Line> &m_lines;
    QVector<Target> m_targets;
    QHash<QString, int> m_winners;      // path: the target that writes it last
    QHash<QString, int> m_byOrigin;     // read key path: the target that moved it
    QHash<QString, QString> m_sections; // read section path: its path now
    QVector<QString> m_prefixes;        // by section line, as read
    QVector<QString> m_paths;           // by key line, as read
    QHash<QString, int> m_effective;    // read key path: the line QSettings takes
    QBitArray m_effectiveLines;
    QSet<QString> m_readSections;
    QVector<SectionFate> m_fates; // by section line
    QHash<QString, int> m_lastKeyLine;
    QHash<QString, int> m_lastHeader;
    IniDocument::Edits m_edits;
};

Patcher::Patcher(const IniDocument &document, const SettingsNodes &edited)
    : m_document(document)
    , m_lines(document.lines())
{
    m_winners.reserve(m_lines.size());
    collect(edited, QString());
    for (int i = 0; i < m_targets.size(); ++i) {
        const Target &target = m_targets.at(i);
        if (target.node->wasRead && target.node->origin != target.path
            && m_winners.value(target.path) == i)
            m_byOrigin.insert(target.node->origin, i);
    }
}

// The target that writes the key read at `path`, if any: mostly the one
// that writes `path` itself.
int Patcher::targetOf(const QString &path) const
{
    const int target = m_winners.value(path, -1);
    if (target >= 0 && m_targets.at(target).node->wasRead
        && m_targets.at(target).node->origin == path)
        return target;
    return m_byOrigin.value(path, -1);
}

// As SettingsTree::write stores the tree: a section or key name is a path
// relative to its section; a nameless section writes into its parent.
void Patcher::collect(const SettingsNodes &nodes, const QString &section)
{
    for (const SettingsNode &node : nodes) {
        const QString name = SettingsTree::normalizedPath(node.name);
        if (node.isSection()) {
            const QString path = joined(section, name);
            if (node.wasRead)
                m_sections.insert(node.origin, path);
            collect(node.children, path);
        } else if (!name.isEmpty()) {
            Target target;
            target.path = joined(section, name);
            target.section = name.contains(QLatin1Char('/')) ? parentOf(target.path) : section;
            target.node = &node;
            m_winners.insert(target.path, m_targets.size());
            m_targets.append(target);
        }
    }
}

// Of two lines of one key, QSettings takes the one it parses last: it parses
// the sections in the order of their names, and lines of one name in the
// order of the file.
void Patcher::readKeys()
{
    m_prefixes.resize(m_lines.size());
    m_paths.resize(m_lines.size());
    m_effective.reserve(m_lines.size());
    QBitArray noted(m_lines.size());
    for (int i = 0; i < m_lines.size(); ++i) {
        const IniDocument::Line &line = m_lines.at(i);
        if (line.kind == IniDocument::LineKind::Section) {
            m_prefixes[i] = m_document.sectionPrefix(i);
            continue;
        }
        if (line.kind != IniDocument::LineKind::Key)
            continue;
        const QString &prefix = prefixRead(line.section);
        QString path = prefix + m_document.keyName(line);
        auto effective = m_effective.find(path);
        if (effective == m_effective.end())
            m_effective.insert(path, i);
        else if (prefix >= prefixRead(m_lines.at(*effective).section))
            *effective = i;
        // Every section above a key was read; those of its header are noted
        // with its first key.
        const int header = line.section < 0 || noted.testBit(line.section) ? prefix.size() : 1;
        if (line.section >= 0)
            noted.setBit(line.section);
        for (int slash = path.lastIndexOf(QLatin1Char('/')); slash >= qMax(header, 1);
             slash = path.lastIndexOf(QLatin1Char('/'), slash - 1))
            m_readSections.insert(path.left(slash));
        m_paths[i] = std::move(path);
    }
    m_effectiveLines = QBitArray(m_lines.size());
    for (const int line : qAsConst(m_effective))
        m_effectiveLines.setBit(line);
    m_effective.clear();
    m_fates.resize(m_lines.size());
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).kind == IniDocument::LineKind::Section)
            m_fates[i] = fateOf(i);
    }
}

// A section line follows the deepest section read that holds it: renamed
// with it, or removed with it.
SectionFate Patcher::fateOf(int section) const
{
    const QString &prefix = m_prefixes.at(section);
    SectionFate fate;
    fate.prefix = prefix;
    if (prefix.isEmpty())
        return fate;
    const QString path = prefix.chopped(1);
    for (QString above = path; !above.isEmpty();) {
        // The tree holds no section QSettings cannot reach by its path.
        if (m_readSections.contains(above) && addressable(above)) {
            const auto now = m_sections.constFind(above);
            if (now == m_sections.cend()) {
                fate.removed = true;
            } else {
                const QString moved =
                    above.size() == path.size() ? *now : joined(*now, path.mid(above.size() + 1));
                fate.prefix = moved.isEmpty() ? QString() : moved + QLatin1Char('/');
            }
            return fate;
        }
        const int slash = above.lastIndexOf(QLatin1Char('/'));
        above = slash > 0 ? above.left(slash) : QString();
    }
    return fate;
}

void Patcher::editLines()
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const IniDocument::Line &line = m_lines.at(i);
        if (line.kind == IniDocument::LineKind::Section) {
            const SectionFate &fate = m_fates.at(i);
            if (fate.removed) {
                removeSection(i);
                continue;
            }
            const QString path = fate.prefix.isEmpty() ? QString() : fate.prefix.chopped(1);
            if (fate.prefix != m_prefixes.at(i)) {
                m_edits.names.insert(i, IniDocument::sectionName(path));
                // A quote opened in the old name may close after the bracket.
                m_edits.values.insert(i, QByteArrayLiteral("]"));
            }
            if (fate.prefix.isEmpty() || addressable(path))
                m_lastHeader.insert(path, i);
            continue;
        }
        if (line.kind != IniDocument::LineKind::Key)
            continue;
        const SectionFate fate = line.section < 0 ? SectionFate() : m_fates.at(line.section);
        if (fate.removed)
            continue; // with its section
        const QString &path = m_paths.at(i);
        if (!addressable(path))
            continue; // QSettings cannot reach it: the tree does not hold it
        const QString &prefix = prefixRead(line.section);
        const QString place = fate.prefix == prefix ? path : fate.prefix + path.mid(prefix.size());
        const int target = targetOf(path);
        if (!m_effectiveLines.testBit(i)) {
            // Overridden by a later line: harmless only while both stay.
            if (target < 0 || m_targets.at(target).path != path || place != path)
                m_edits.removed.insert(i);
            continue;
        }
        if (target < 0) {
            m_edits.removed.insert(i);
            continue;
        }
        Target &written = m_targets[target];
        if (written.path != place) {
            if (!written.path.startsWith(fate.prefix)
                || written.path.size() == fate.prefix.size()) {
                written.moved = true;
                written.movedValue = m_document.value(line);
                m_edits.removed.insert(i);
                continue;
            }
            m_edits.names.insert(i, IniDocument::escapedKey(written.path.mid(fate.prefix.size())));
        }
        if (written.node->isEdited())
            m_edits.values.insert(i, IniDocument::escapedValue(written.node->valueToStore()));
        written.placed = true;
        written.line = i;
    }
}

// A removed section takes its header and its lines up to its last key along;
// the comments after that belong to the next section.
void Patcher::removeSection(int header)
{
    int last = header;
    for (int i = header + 1; i < m_lines.size(); ++i) {
        const IniDocument::LineKind kind = m_lines.at(i).kind;
        if (kind == IniDocument::LineKind::Section)
            break;
        if (kind == IniDocument::LineKind::Key || kind == IniDocument::LineKind::Damaged)
            last = i;
    }
    for (int i = header; i <= last; ++i)
        m_edits.removed.insert(i);
}

// Keys without a line of their own: after the last key of their section, or
// its header; else in a section of their own at the end, as QSettings writes
// one: its name the key's first path part.
bool Patcher::placeRest()
{
    bool rest = false;
    for (int t = 0; t < m_targets.size() && !rest; ++t)
        rest = !m_targets.at(t).placed && m_winners.value(m_targets.at(t).path) == t;
    if (!rest)
        return true;
    for (const Target &target : qAsConst(m_targets)) {
        if (target.placed)
            m_lastKeyLine[target.section] = qMax(m_lastKeyLine.value(target.section), target.line);
    }
    QVector<QString> groups;
    QHash<QString, QByteArrayList> blocks;
    for (int t = 0; t < m_targets.size(); ++t) {
        const Target &target = m_targets.at(t);
        if (target.placed || m_winners.value(target.path) != t)
            continue;
        QByteArray value;
        if (target.node->isEdited())
            value = IniDocument::escapedValue(target.node->valueToStore());
        else if (target.moved)
            value = target.movedValue;
        else
            return false;

        int anchor = m_lastKeyLine.value(target.section, -1);
        if (anchor < 0)
            anchor = m_lastHeader.value(target.section, -1);
        if (anchor >= 0) {
            const IniDocument::Line &line = m_lines.at(anchor);
            const int section = line.kind == IniDocument::LineKind::Section ? anchor : line.section;
            const QString prefix = section < 0 ? QString() : m_fates.at(section).prefix;
            if (target.path.startsWith(prefix) && target.path.size() > prefix.size()) {
                // Nothing follows an open last line without changing it: a key
                // goes before that line instead, when it is a key of the section.
                if (anchor == m_lines.size() - 1 && m_document.endsOpen()
                    && line.kind == IniDocument::LineKind::Key)
                    --anchor;
                m_edits.after[anchor].append(IniDocument::escapedKey(target.path.mid(prefix.size()))
                                             + '=' + value);
                continue;
            }
        }
        const int slash = target.path.indexOf(QLatin1Char('/'));
        const QString group = slash < 0 ? QString() : target.path.left(slash);
        if (!blocks.contains(group))
            groups.append(group);
        blocks[group].append(IniDocument::escapedKey(target.path.mid(slash + 1)) + '=' + value);
    }
    bool blankBefore = !m_lines.isEmpty() && m_lines.last().kind != IniDocument::LineKind::Blank;
    for (const QString &group : qAsConst(groups)) {
        if (blankBefore)
            m_edits.appended.append(QByteArray());
        blankBefore = true;
        m_edits.appended.append('[' + IniDocument::sectionName(group) + ']');
        m_edits.appended += blocks.value(group);
    }
    return true;
}

QByteArray Patcher::result()
{
    readKeys();
    editLines();
    if (!placeRest())
        return QByteArray();
    return m_document.edited(m_edits);
}

} // namespace

QByteArray IniPatch::patched(const IniDocument &document, const SettingsNodes &edited)
{
    return Patcher(document, edited).result();
}
