#include "inidocument.h"
#include "settingsfiles.h"

#include <QtTest>

class tst_IniDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void judgesFilesAsQSettingsDoes_data();
    void judgesFilesAsQSettingsDoes();
    void linesAddedAfterAnOpenLastLineStayApart_data();
    void linesAddedAfterAnOpenLastLineStayApart();

private:
    FixtureFolder m_dir;
};

void tst_IniDocument::judgesFilesAsQSettingsDoes_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("quoteOverLineBreak");

    QTest::newRow("clean: comments, blank lines, trailing comment, quotes")
        << QByteArray("; c\n\n  [s] ;x\nk = v ; note\nq=\"a;b\"\n") << false;
    QTest::newRow("unclosed section header") << QByteArray("a=1\n[s\nb=2\n]\n") << false;
    QTest::newRow("line without equals sign") << QByteArray("a=1\n[s]\nnoequals\n") << false;
    QTest::newRow("a hash starts no comment") << QByteArray("# note\na=1\n") << false;
    QTest::newRow("a hash line with an equals sign is a key") << QByteArray("#a=1\n") << false;
    QTest::newRow("equals signs only inside quotes") << QByteArray("a\"b=1\nc=2\"\nd=3\n") << true;
    QTest::newRow("quoted value past its line")
        << QByteArray("[General]\nb=2\na=\"x\n\n[Other]\nc=3\n") << true;
    QTest::newRow("open quote on the last line, no line break") << QByteArray("a=\"x") << false;
    QTest::newRow("escaped line break") << QByteArray("a=x\\\r\ny\nb=2\\") << false;
    QTest::newRow("byte order mark before a section")
        << QByteArray("\xef\xbb\xbf[s]\nk=1\n") << false;
    QTest::newRow("byte order mark before a key")
        << QByteArray("\xef\xbb\xbf k=1\n[s]\nb=2\n") << false;
    // Found by fuzzing: the spaces stayed in the key's name.
    QTest::newRow("byte order mark, spaces and an equals sign")
        << QByteArray("\xef\xbb\xbf  =1\n") << false;
    QTest::newRow("byte order mark before a comment")
        << QByteArray("\xef\xbb\xbf;c\nk=1\n") << false;
    QTest::newRow("CR, CRLF and LF CR line ends") << QByteArray("a=1\r\nb=2\rc=3\n\rd=4") << false;
    QTest::newRow("names empty, escaped, General in any case")
        << QByteArray("=0\n[]\nx=1\n[a/]\nk=2\n[ %GenerAl ]\nb%20c\\d=3\n[gEneral]\ne%U0444=4\n")
        << false;
    // Found by fuzzing: QSettings reads the digits as an int.
    QTest::newRow("escape with a sign") << QByteArray("[a%-Fb]\nk%U-FFF=1\n") << false;
    QTest::newRow("General and a NUL") << QByteArray("[General\0]\nk=1\n", 14) << false;
}

// Whatever the process has cached, the bytes are judged as QSettings judges
// them on a path it has never read; the lines cover the file without a gap,
// and their keys are the keys QSettings reads.
void tst_IniDocument::judgesFilesAsQSettingsDoes()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, quoteOverLineBreak);

    const IniDocument document(ini);
    QSettings settings(m_dir.fixture(ini), QSettings::IniFormat);
    QStringList keys = settings.allKeys();
    QCOMPARE(document.hasFormatError(), settings.status() == QSettings::FormatError);
    QCOMPARE(document.hasQuoteOverLineBreak(), quoteOverLineBreak);

    QStringList paths;
    int end = 0;
    for (const IniDocument::Line &line : document.lines()) {
        QCOMPARE(line.begin, end);
        end = line.end;
        if (line.kind == IniDocument::LineKind::Key)
            paths << document.keyPath(line);
    }
    QCOMPARE(end, ini.size());
    paths.removeDuplicates();
    paths.sort();
    keys.sort();
    QCOMPARE(paths, keys);
}

void tst_IniDocument::linesAddedAfterAnOpenLastLineStayApart_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::newRow("open quote") << QByteArray("a=\"x, y");
    QTest::newRow("backslash") << QByteArray("a=x\\");
    // Found by fuzzing: the backslash takes the line break along.
    QTest::newRow("escaped CR") << QByteArray("a=x\\\r");
    QTest::newRow("escaped LF") << QByteArray("a=x\\\n");
}

// A line added at the end is a key of its own, and the last line keeps its
// value.
void tst_IniDocument::linesAddedAfterAnOpenLastLineStayApart()
{
    QFETCH(QByteArray, ini);
    IniDocument::Edits edits;
    edits.appended << "k=v";
    const QByteArray edited = IniDocument(ini).edited(edits);
    QSettings before(m_dir.fixture(ini), QSettings::IniFormat);
    QSettings after(m_dir.fixture(edited), QSettings::IniFormat);
    QCOMPARE(after.allKeys(), QStringList({"a", "k"}));
    QCOMPARE(after.value("a"), before.value("a"));
}

QTEST_APPLESS_MAIN(tst_IniDocument)
#include "tst_inidocument.moc"
