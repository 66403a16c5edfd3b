#include "editedsave.h"
#include "inidocument.h"
#include "settingsfiles.h"
#include "settingstree.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

// "a=1, [s]{b=2}": the tree as the editor shows it.
QString dump(const SettingsNodes &nodes)
{
    QStringList parts;
    for (const SettingsNode &node : nodes) {
        parts << (node.isSection() ? QStringLiteral("[%1]{%2}").arg(node.name, dump(node.children))
                                   : node.name + QLatin1Char('=') + node.text);
    }
    return parts.join(QStringLiteral(", "));
}

SettingsNodes readFile(const QString &fileName)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    return SettingsTree::read(settings);
}

using Edit = std::function<void(SettingsNodes &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class tst_SettingsTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readsKeysBeforeSections_data();
    void readsKeysBeforeSections();
    void writesValuesOfTheKindTheyWereRead_data();
    void writesValuesOfTheKindTheyWereRead();
    void comparesTreesByTypeAndValue_data();
    void comparesTreesByTypeAndValue();
    void readStatusSeesFaultsOfEverySection_data();
    void readStatusSeesFaultsOfEverySection();
    void saveReplacesFileWholeOrNotAtAll_data();
    void saveReplacesFileWholeOrNotAtAll();
    void saveOnAFullDiskKeepsTheFile_data();
    void saveOnAFullDiskKeepsTheFile();
    void saveChangesOnlyTheEditedLines_data();
    void saveChangesOnlyTheEditedLines();

private:
    QString fixture(const QByteArray &text) { return m_dir.fixture(text); }

    FixtureFolder m_dir;
};

void tst_SettingsTree::readsKeysBeforeSections_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("tree");

    QTest::newRow("fixture")
        << QByteArray(SettingsFixture)
        << "bytes=@ByteArray(\\0\\x1), list=one, two, text=plain, [s]{n=7, point=@Point(3 4), "
           "[t]{deep=x}}, [u]{v=1}";
    QTest::newRow("general keys written after a section")
        << QByteArray("[s]\nc=2\n[General]\nb=x\na=1\n") << "a=1, b=x, [s]{c=2}";
    QTest::newRow("key and section of one name")
        << QByteArray("a=1\n[a]\nb=2\n") << "a=1, [a]{b=2}";
    QTest::newRow("section named General") << QByteArray("[%General]\nx=1\n") << "[General]{x=1}";
    // Found by fuzzing: shown as read, although QSettings writes such a group
    // back as "[%General]".
    QTest::newRow("section named general in another letter case")
        << QByteArray("[%GenerAl]\nx=1\n[%general]\ny=2\n") << "[GenerAl]{x=1}, [general]{y=2}";
    QTest::newRow("encoded values as the file holds them, bytes that are text as text")
        << QByteArray("b=@ByteArray(abc)\nw=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n")
        << "b=abc, w=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)";
    // Found by fuzzing: the nameless group is listed but cannot be entered,
    // and reading it recursed until the stack ran out.
    QTest::newRow("section without a name")
        << QByteArray("a=1\n[]\nb=2\n[s]\nc=3\n") << "a=1, [s]{c=3}";
    QTest::newRow("empty part in a section path")
        << QByteArray("[s//t]\nb=2\n[s]\nc=3\n") << "[s]{c=3}";
    // Found by fuzzing: QSettings parses a list claiming 2,147,483,647 items
    // with QDataStream, which throws std::bad_alloc out of childKeys().
    QTest::newRow("list claiming more items than memory holds")
        << QByteArray("a=1\n[s]\nw=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n") << "";
    QTest::newRow("quotes, escapes and non-ASCII")
        << QByteArray("q=\"  spaced  \"\ne=a\\tb\nu=\xd0\x9a\xd1\x80\n")
        << QStringLiteral("e=a\tb, q=  spaced  , u=\u041a\u0440");
    // Found by fuzzing: shown through UTF-8, they became U+FFFD.
    QTest::newRow("list of a character beyond U+FFFF and a lone surrogate")
        << QByteArray("l=\xf0\x9f\x98\x80=, \\xd800\n")
        << QStringLiteral("l=\"\U0001F600=\", \\xd800");
    const int depth = SettingsTree::MaxDepth;
    QTest::newRow("nested as deep as allowed")
        << "[s]\n" + QByteArray("a/").repeated(depth - 1) + "k=1\n"
        << "[s]{" + QString("[a]{").repeated(depth - 1) + "k=1" + QString("}").repeated(depth);
    QTest::newRow("nested deeper: read down to the limit")
        << "[s]\n" + QByteArray("a/").repeated(60000) + "k=1\n"
        << "[s]{" + QString("[a]{").repeated(depth - 1) + QString("}").repeated(depth);
}

void tst_SettingsTree::readsKeysBeforeSections()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, tree);
    QCOMPARE(dump(readFile(fixture(ini))), tree);
}

void tst_SettingsTree::writesValuesOfTheKindTheyWereRead_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("content");

    // Tree: bytes, list, text, [s]{n, point, [t]{deep}}, [u]{v}.
    const QStringList read{
        "bytes:QByteArray=0001", "list:QStringList=one|two", "s/n:QString=7", "s/point:QPoint=3,4",
        "s/t/deep:QString=x",    "text:QString=plain",       "u/v:QString=1"};
    auto with = [&read](int index, const QString &entry) {
        QStringList content = read;
        content[index] = entry;
        return content;
    };
    QTest::newRow("no edit") << Edit([](SettingsNodes &) {}) << read;
    QTest::newRow("edit elsewhere keeps list, bytes, point")
        << Edit([](SettingsNodes &t) { t[3].children[0].text = QStringLiteral("8"); })
        << with(2, "s/n:QString=8");
    QTest::newRow("edited list stays a list")
        << Edit([](SettingsNodes &t) { t[1].text = QStringLiteral("x, y"); })
        << with(1, "list:QStringList=x|y");
    QTest::newRow("renamed section")
        << Edit([](SettingsNodes &t) { t[3].children[2].name = QStringLiteral("v"); })
        << with(4, "s/v/deep:QString=x");
    // An added text that looks encoded stays text.
    QTest::newRow("added key stored as text")
        << Edit([](SettingsNodes &t) { t.append(SettingsNode::key("zz", "@Size(1 2)")); })
        << read + QStringList{"zz:QString=@Size(1 2)"};
    QTest::newRow("section without name writes into its parent") << Edit([](SettingsNodes &t) {
        t.append(SettingsNode::section("/"));
        t.last().children.append(SettingsNode::key("zz", "1"));
    }) << read + QStringList{"zz:QString=1"};
    QTest::newRow("key of slashes only skipped")
        << Edit([](SettingsNodes &t) { t.append(SettingsNode::key("//", "1")); }) << read;
}

void tst_SettingsTree::writesValuesOfTheKindTheyWereRead()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, content);

    SettingsNodes nodes = readFile(fixture(SettingsFixture));
    edit(nodes);
    const QString fresh = m_dir.newName(QStringLiteral("fresh"));
    {
        QSettings out(fresh, QSettings::IniFormat);
        out.setIniCodec("UTF-8");
        SettingsTree::write(nodes, out);
    }
    QCOMPARE(fileContent(fresh), content);
    QCOMPARE(SettingsTree::content(nodes).keys(), keysOf(content));
}

void tst_SettingsTree::comparesTreesByTypeAndValue_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("same");

    // Tree: bytes, list, text, [s]{n, point, [t]{deep}}, [u]{v}.
    QTest::newRow("unedited") << Edit([](SettingsNodes &) {}) << true;
    QTest::newRow("text edited and reverted") << Edit([](SettingsNodes &t) {
        t[2].text = QStringLiteral("x");
        t[2].text = QStringLiteral("plain");
    }) << true;
    QTest::newRow("value of another type, same text")
        << Edit([](SettingsNodes &t) { t[3].children[0].readValue.convert(QMetaType::Int); })
        << false;
    QTest::newRow("key renamed") << Edit([](SettingsNodes &t) { t[0].name = QStringLiteral("b"); })
                                 << false;
    QTest::newRow("empty section added")
        << Edit([](SettingsNodes &t) { t.append(SettingsNode::section("x")); }) << false;
    QTest::newRow("key added under a key")
        << Edit([](SettingsNodes &t) { t[2].children.append(SettingsNode::key("k", "v")); })
        << false;
}

void tst_SettingsTree::comparesTreesByTypeAndValue()
{
    QFETCH(Edit, edit);
    QFETCH(bool, same);
    const SettingsNodes read = readFile(fixture(SettingsFixture));
    SettingsNodes edited = read;
    edit(edited);
    QCOMPARE(SettingsTree::sameTree(read, edited), same);
    QCOMPARE(SettingsTree::sameTree(edited, read), same);
}

void tst_SettingsTree::readStatusSeesFaultsOfEverySection_data()
{
    QTest::addColumn<QByteArray>("ini"); // null: a folder in the file's place
    QTest::addColumn<int>("status");

    QTest::newRow("clean") << QByteArray(SettingsFixture) << int(QSettings::NoError);
    QTest::newRow("unclosed section header")
        << QByteArray("a=1\n[s\nb=2\n") << int(QSettings::FormatError);
    // Sections are parsed when first used: only reading every key finds it.
    QTest::newRow("line without equals sign in a later section")
        << QByteArray("a=1\n[s]\nb=2\nnoequals\n") << int(QSettings::FormatError);
    QTest::newRow("a folder in the file's place") << QByteArray() << int(QSettings::AccessError);
    QTest::newRow("list claiming more items than memory holds")
        << QByteArray("a=1\n[s]\nw=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n")
        << int(QSettings::FormatError);
    QTest::newRow("nested as deep as allowed")
        << "[s]\n" + QByteArray("a/").repeated(SettingsTree::MaxDepth - 1) + "k=1\n"
        << int(QSettings::NoError);
    QTest::newRow("nested deeper than allowed")
        << "[s]\n" + QByteArray("a//").repeated(SettingsTree::MaxDepth) + "k=1\n"
        << int(QSettings::FormatError);
}

void tst_SettingsTree::readStatusSeesFaultsOfEverySection()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, status);

    QString name = m_dir.newName(QStringLiteral("folder"));
    if (ini.isNull())
        QVERIFY(QDir().mkdir(name));
    else
        name = fixture(ini);
    QSettings settings(name, QSettings::IniFormat);
    QCOMPARE(int(SettingsTree::readStatus(settings)), status);
}

void tst_SettingsTree::saveReplacesFileWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("target"); // in a folder holding old.ini and a file "blocker"
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("added");    // the text of a key added to the tree
    QTest::addColumn<bool>("keepLines");   // save given the lines read
    QTest::addColumn<QByteArray>("patch"); // made in place of the edited lines, unless null

    QTest::newRow("replaces the file")
        << "old.ini" << false << 0 << true << "1" << false << QByteArray();
    QTest::newRow("creates missing folders")
        << "new/sub/x.ini" << false << 0 << true << "1" << false << QByteArray();
    QTest::newRow("empty tree empties the file")
        << "old.ini" << true << 0 << true << "1" << false << QByteArray();
    QTest::newRow("folder cannot be created")
        << "blocker/x.ini" << false << 0 << false << "1" << false << QByteArray();
    QTest::newRow("disk full") << "old.ini" << false << 64 << false << "1" << false << QByteArray();
    // Found by fuzzing: QSettings reads characters beyond U+FFFF but its
    // writer drops them, so saving would change a value nobody edited.
    QTest::newRow("character beyond U+FFFF")
        << "old.ini" << false << 0 << false << QStringLiteral("a\U0001F600b") << false
        << QByteArray();
    QTest::newRow("characters below U+FFFF")
        << "old.ini" << false << 0 << true << QStringLiteral("\u041a\uFFFD") << false
        << QByteArray();
    // As when the host had set a key of the file and not yet written it.
    QTest::newRow("lines that do not hold the tree: rewritten whole")
        << "new/sub/x.ini" << false << 0 << true << "1" << true << QByteArray();
    // The check of what the edited lines read back as, itself.
    QTest::newRow("edited lines that read back as another tree: rewritten whole")
        << "old.ini" << false << 0 << true << "1" << true << QByteArray("; comment\nadded=1\n");
    QTest::newRow("added value beyond U+FFFF, lines kept")
        << "old.ini" << false << 0 << false << QStringLiteral("a\U0001F600b") << true
        << QByteArray();
    // A whole rewrite would lose the line QSettings skips.
    QTest::newRow("skipped line, edited lines that read back as another tree: not saved")
        << "hash.ini" << false << 0 << false << "1" << true << QByteArray("; comment\nadded=1\n");
    QTest::newRow("skipped line, edited lines that change it: not saved")
        << "hash.ini" << false << 0 << false << "1" << true
        << QByteArray("added=1\n") + SettingsFixture + "# changed\n";
}

void tst_SettingsTree::saveReplacesFileWholeOrNotAtAll()
{
    QFETCH(QString, target);
    QFETCH(bool, empty);
    QFETCH(int, sizeLimit);
    QFETCH(bool, saved);
    QFETCH(QString, added);
    QFETCH(bool, keepLines);
    QFETCH(QByteArray, patch);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("old.ini")), SettingsFixture));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("blocker")), QByteArray()));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("hash.ini")),
                      QByteArray(SettingsFixture) + "# kept\n"));
    const QString path = dir.filePath(target);
    const QByteArray before = fileBytes(path);
    const QStringList contentBefore = fileContent(path);
    // Shares the process's cache of the file across the save.
    QSettings open(path, QSettings::IniFormat);

    SettingsNodes nodes;
    if (!empty)
        nodes =
            readFile(fixture(SettingsFixture)) + SettingsNodes{SettingsNode::key("added", added)};
    QString error;
    bool ok;
    {
        std::unique_ptr<FileSizeLimit> limit(sizeLimit ? new FileSizeLimit(sizeLimit) : nullptr);
        // The lines of the file as it is: a missing one has none.
        const IniDocument lines(QFile::exists(path) ? before : QByteArray());
        if (keepLines && saved)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("rewritten whole")));
        SettingsTree::SaveSeams seams;
        if (!patch.isNull())
            seams.patch = [patch](const IniDocument &, const SettingsNodes &) {
                return patch;
            };
        ok = SettingsTree::save(nodes, path, &error, keepLines ? &lines : nullptr, &seams);
    }
    QCOMPARE(ok, saved);
    QCOMPARE(error.isEmpty(), saved);
    if (added.contains(QChar(0xd83d)))
        QVERIFY2(error.contains(QLatin1String("added")), qPrintable(error));
    if (target == QLatin1String("hash.ini"))
        QVERIFY2(error.contains(QLatin1String("line 11")), qPrintable(error));
    if (saved) {
        QCOMPARE(fileBytes(path).contains("; comment"), false);
        QCOMPARE(fileBytes(path).isEmpty(), empty);
        QCOMPARE(fileContent(path).size(), empty ? 0 : 8);
        return;
    }
    QCOMPARE(fileBytes(path), before);
    // Nothing unsaved lingers, neither for a new settings object nor for one
    // open meanwhile.
    QCOMPARE(fileContent(path), contentBefore);
    QCOMPARE(open.allKeys(), keysOf(contentBefore));
}

void tst_SettingsTree::saveOnAFullDiskKeepsTheFile_data()
{
    QTest::addColumn<int>("limit");        // the bytes a file may hold
    QTest::addColumn<bool>("onlyTheFile"); // else every file the save writes
    QTest::addColumn<bool>("keepLines");   // else rewritten whole by QSettings

    QTest::newRow("no room") << 0 << false << true;
    QTest::newRow("4096 bytes") << 4096 << false << true;
    QTest::newRow("16384 bytes") << 16384 << false << true;
    // The scratch files on another disk, with room.
    QTest::newRow("no room for the file itself") << 0 << true << true;
    QTest::newRow("4096 bytes for the file itself") << 4096 << true << true;
    QTest::newRow("16384 bytes for the file itself") << 16384 << true << true;
    // QSettings' sync() reports no error when its last flush fails.
    QTest::newRow("16384 bytes, rewritten whole") << 16384 << false << false;
}

// A 20 KB file with one value edited, on a disk too full for it: the save
// fails naming the cause, and the file keeps its bytes.
void tst_SettingsTree::saveOnAFullDiskKeepsTheFile()
{
    QFETCH(int, limit);
    QFETCH(bool, onlyTheFile);
    QFETCH(bool, keepLines);

    QByteArray ini("; settings\n");
    for (int i = 0; ini.size() < 20 * 1024; ++i)
        ini += "[section" + QByteArray::number(i) + "]\nkey=value " + QByteArray::number(i) + '\n';
    const QString name = fixture(ini);
    const IniDocument original(ini);
    SettingsNodes nodes = readFile(name);
    nodes[0].children[0].text = QStringLiteral("edited");
    std::unique_ptr<FileSizeLimit> full;
    SettingsTree::SaveSeams seams;
    seams.beforeWrite = [&full, limit] {
        full.reset(new FileSizeLimit(limit));
    };
    if (!onlyTheFile)
        seams.beforeWrite();
    QString error;
    const bool saved =
        SettingsTree::save(nodes, name, &error, keepLines ? &original : nullptr, &seams);
    full.reset();
    QVERIFY(!saved);
    QVERIFY2(error.contains(keepLines ? "File too large" : "Only part of it was written"),
             qPrintable(error));
    QCOMPARE(fileBytes(name), ini);
}

void tst_SettingsTree::saveChangesOnlyTheEditedLines_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("addAtTop"); // or to the last section

    QTest::newRow("comments in every position")
        << QByteArray("; top\n\n; before s\n[s] ; on the header\n; between\na=1 ; trailing\n"
                      "b = 2\n\n; before u\n[u]\nc=3\n; last\n")
        << false;
    QTest::newRow("quoted values and lists")
        << QByteArray("[s]\nq=\"a, b\"\nl=one, \"two, three\", four\nk=v\n[t]\ne=\"\"\n") << false;
    QTest::newRow("encoded values")
        << QByteArray("b=@ByteArray(\\0\\x1)\n[s]\nf=@Variant(\\0\\0\\0\\x87\\x7f\\xc0\\0\\0)\n"
                      "p=@Point(1 2)\nk=1\n")
        << false;
    QTest::newRow("sub-sections written inside a parent")
        << QByteArray("[s]\nk=1\nt\\u=2\nt\\v\\w=3\n[s/t]\nx=4\n[z]\ny=5\n") << false;
    QTest::newRow("General after a section")
        << QByteArray("[s]\nk=1\n[General]\na=1\nb=2\n") << false;
    QTest::newRow("keys needing escapes")
        << QByteArray("[Desktop Entry]\nName[de]=x\nName=y\n%U0444=z\n[a b]\nc d=1\n") << false;
    QTest::newRow("CRLF line ends")
        << QByteArray("; c\r\n[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n") << false;
    QTest::newRow("no line break at the end") << QByteArray("[s]\na=1\n[t]\nb=2") << false;
    // Found by fuzzing: a line added after "b" ended in CR and took the LF
    // of the blank line after it along; so did "a" once "b" was removed.
    QTest::newRow("CR first, then LF") << QByteArray("a=1\rb=2\n\n\n") << false;
    QTest::newRow("lone CR, then a removed line, then LF")
        << QByteArray("[s]\nc=1\r\rz=2\n\n") << false;
    // Found by fuzzing: a key added after such a last line was read as part
    // of its value.
    QTest::newRow("open quote at the end") << QByteArray("[s]\nz=1\n[t]\nb=2\na=\"x") << false;
    QTest::newRow("backslash at the end") << QByteArray("[s]\nz=1\n[t]\nb=2\na=\"x\\") << false;
    QTest::newRow("keys at the top only") << QByteArray("a=1\nb=2\n") << false;
    // Renamed with [s], the line it overrides would come back as a key.
    QTest::newRow("key overridden by a later section, the section renamed")
        << QByteArray("; c\na=0\ns\\k=1\n[s]\nk=2\n; c\n[t]\nx=1\n") << false;
    // Found by fuzzing: "%\\\\" reads as "%//", and the section was taken for
    // removed.
    // Found by fuzzing: a slash at the start of a path looped for ever.
    QTest::newRow("key path starting with a slash") << QByteArray("\\s=  \n[t]\nb=1\n") << false;
    // Found by fuzzing: a quote opened in the name closed after the bracket,
    // and opened anew once the name was renamed.
    QTest::newRow("quote in a section's name")
        << QByteArray("; kept\n[\"a]b\"\nk=1\n[c]\nz=2\n") << false;
    QTest::newRow("keys QSettings cannot reach")
        << QByteArray("[b]\nk=1\nj=2\n[z%\\\\xFb]\ni=v\n") << false;
    // QSettings would drop the character on a rewrite of the whole file.
    QTest::newRow("untouched value beyond U+FFFF")
        << QByteArray("[s]\na=1\ne=\xf0\x9f\x98\x80\nz=3\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    // QSettings skips them, and reports a format error.
    QTest::newRow("hash comments and lines without an equals sign in every position")
        << QByteArray("# top\n[s] ; c\n# between\na=1\nnoequals\nb = 2\n# after s\n\n[u]\nc=3\n"
                      "#last")
        << false;
    QTest::newRow("quoted values running past their line")
        << QByteArray("[s]\na=\"x\ny\"\nb=\"1;\n2\" ; c\n[t]\nc=2\n") << false;

    const QDir real(QStringLiteral(EDITOR2_SETTINGS_REALFILES));
    const QStringList names = real.entryList(QDir::Files);
    QVERIFY(names.size() > 50);
    for (const QString &name : names) {
        if (name != QLatin1String("INDEX"))
            QTest::newRow(qPrintable(name)) << fileBytes(real.filePath(name)) << false;
    }
    QTest::newRow("added after the last key at the top") << QByteArray("a=1\n[s]\nk=1\n") << true;
    QTest::newRow("added after a General header") << QByteArray("[s]\nk=1\n[General]\n") << true;
    // Found by fuzzing: the blank line before the section joined the lone CR.
    QTest::newRow("added in a section of its own, after a blank line and a lone CR")
        << QByteArray("[s]\nk=1\nj=2\r") << true;
    // Found by fuzzing: the key went before the header, into the section above.
    QTest::newRow("added after a General header open at the end")
        << QByteArray("[s]\nk=1\n[General]\\") << true;
}

// Whatever the file, the saved file reads back through QSettings as the edited
// tree, and its lines are the file's but for exactly those of the edits.
void tst_SettingsTree::saveChangesOnlyTheEditedLines()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, addAtTop);
    const QString name = fixture(ini);
    const IniDocument original(ini);
    QCOMPARE(original.firstDamagedHeader(), -1);
    SettingsNodes nodes = readFile(name);
    EditedSave::Edits edits;
    edits.add = addAtTop ? EditedSave::Edits::Add::AtTop : EditedSave::Edits::Add::ToLastSection;
    edits.text = QStringLiteral("edited = \"value\", \\ and ; more \u041a");
    const EditedSave::Touched touched = EditedSave::edit(&nodes, edits);

    QString error;
    QVERIFY2(SettingsTree::save(nodes, name, &error, &original), qPrintable(error));
    const QByteArray saved = fileBytes(name);
    const QString fresh = m_dir.newName(QStringLiteral("fresh"));
    QVERIFY(writeFile(fresh, saved));
    const QString fault = EditedSave::readBackFault(fresh, nodes, original.hasFormatError());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    const QString kept = EditedSave::editFault(original, IniDocument(saved), touched);
    QVERIFY2(kept.isEmpty(), qPrintable(kept));
}

QTEST_APPLESS_MAIN(tst_SettingsTree)
#include "tst_settingstree.moc"
