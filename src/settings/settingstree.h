#pragma once

#include <QMap>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

// A section of an INI file with its keys and subsections, or a key. A key
// read from the file is written back with the value it was read with until
// its text is edited; then as the same kind of value (a list stays a list),
// and when added as a text.
struct SettingsNode
{
    enum class Kind { Key, Section };

    static SettingsNode section(const QString &name);
    // A key that was not read from the file: stored as text.
    static SettingsNode key(const QString &name, const QString &text);
    static SettingsNode readKey(const QString &name, const QVariant &value);

    bool isSection() const { return kind == Kind::Section; }
    bool isEdited() const;
    // What a write stores for this key: the value read, or for an edited text
    // what SettingsTree::valueFromText makes of it.
    QVariant valueToStore() const;

    Kind kind = Kind::Key;
    QString name;
    QString text;
    QVariant readValue;
    bool wasRead = false;
    // Where it was read: the path of the key or section, as QSettings lists it.
    QString origin;
    // A section's keys and subsections in the order they are written;
    // entries under a key are never written.
    QVector<SettingsNode> children;
};

using SettingsNodes = QVector<SettingsNode>;

class IniDocument;

// Reading an INI file into a tree of SettingsNode and writing a tree back.
// read() and write() work on any QSettings in its current group; save()
// replaces a file on disk with a tree, all or nothing.
namespace SettingsTree {

// Every key path that a write leaves, with the value it stores there; of two
// keys alike the later one wins.
using Content = QMap<QString, QVariant>;

// How deep sections nest at most: every routine over a tree recurses, and so
// does QTreeWidgetItem's destructor. A file nested deeper is read only down
// to this depth and counts as not read cleanly.
const int MaxDepth = 64;

// How a value is shown for editing: a text as it is; bytes that are a text
// without control characters as that text; a list as the file writes its
// items ("a, \"b, c\""); any other value as the file holds it
// ("@ByteArray(\\0\\x1)", "@Point(3 4)", "@Variant(...)").
QString valueText(const QVariant &value);

// The value of the kind of `read` that an edited text stands for, as
// QSettings would read that text from a file: a text stays a text; bytes stay
// bytes (the text's UTF-8 unless it is written "@ByteArray(...)"); a list
// stays a list, of no items when the text is empty, of one without a comma;
// any other value becomes what the text encodes ("@Point(5 6)"), or the text.
QVariant valueFromText(const QString &text, const QVariant &read);

// A key path as QSettings stores it: without leading, trailing or doubled
// slashes.
QString normalizedPath(const QString &path);

// The current group of `settings`, recursively: at every level its keys in
// childKeys() order, then its subgroups in childGroups() order, down to
// MaxDepth sections. Nothing when QSettings cannot parse the file's values
// (readStatus then fails too).
SettingsNodes read(QSettings &settings);

// Writes the tree into the current group of `settings`. It neither removes
// what `settings` holds already nor syncs. Keys whose name is empty or only
// slashes cannot be stored and are skipped, as are entries under a key.
void write(const SettingsNodes &nodes, QSettings &settings);

// What write() would leave in an empty file, keyed by full key path.
Content content(const SettingsNodes &nodes);

// Whether two trees are alike: the same sections and keys in the same order,
// with the same names, texts, and read values of the same type and value (or
// the same streamed form: a NaN is unequal to itself). Writing a tree alike
// the one read from a file would change nothing in it.
bool sameTree(const SettingsNodes &a, const SettingsNodes &b);

// The status of `settings` once every key was read: sections are parsed
// only when first used, so a fault in one shows only after allKeys(). A value
// QSettings cannot decode without running out of memory, and a key nested
// deeper than MaxDepth sections, are a FormatError. QSettings reports a
// damaged file only to the first object that parses it in the process: judge
// the file's own bytes with IniDocument too.
QSettings::Status readStatus(QSettings &settings);

// What keeps a file from being saved, found when it is read: nothing, or the
// first line at fault and why.
struct ReadFault
{
    enum class Cause { None, Unreadable, DamagedHeader, UndecodableValue, TooDeep };
    Cause cause = Cause::None;
    int line = -1; // index into the lines of the file; -1 when no line is at fault
};

// What keeps the file that `settings` reads, whose bytes are `document`, from
// being saved: a section header that does not close on its line, a value
// QSettings cannot decode without running out of memory, sections nested
// deeper than MaxDepth, or a file QSettings cannot read. Lines QSettings
// skips and quoted values running past their line do not keep it from being
// saved into its own lines.
ReadFault readFault(QSettings &settings, const IniDocument &document);

// Parts of save() that a test puts in place.
struct SaveSeams
{
    // Makes the edited lines in place of IniPatch::patched.
    std::function<QByteArray(const IniDocument &, const SettingsNodes &)> patch;
    // Runs when the new contents are ready, right before the file is written.
    std::function<void()> beforeWrite;
};

// Replaces the INI file `fileName` (UTF-8) with exactly the tree. Given the
// lines the tree was read from (`original`), only the lines of what was
// edited change; when QSettings cannot read the result back as the tree, or
// without `original`, the file is rewritten whole by QSettings. Lines of
// `original` that QSettings does not read cleanly (see readFault) are never
// rewritten: every line it skips is kept byte for byte, and the save fails
// when that cannot be done with the edited tree read back exactly. A value
// holding a character beyond U+FFFF fails the save, since QSettings would drop
// the character: with `original`, only an edited or added one; with it, a
// file that no longer holds the original bytes is not replaced. On failure it
// returns false with a reason in *error, the file is left as it was and no
// unsaved value is left behind in the process's settings, so a QSettings on
// the file reads what is on disk. The file is replaced only by contents
// written whole: a write that falls short, a full disk say, fails the save
// and names the cause. The file's folder is created when missing.
bool save(const SettingsNodes &nodes, const QString &fileName, QString *error = nullptr,
          const IniDocument *original = nullptr, const SaveSeams *seams = nullptr);

} // namespace SettingsTree
