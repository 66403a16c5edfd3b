#include "settingsarray.h"
#include "tileservertemplate.h"

#include <QtTest>

class tst_MapLogic : public QObject
{
    Q_OBJECT

private slots:
    void countsEntriesPresent_data();
    void countsEntriesPresent();
    void acceptsTileServerTemplate_data();
    void acceptsTileServerTemplate();
};

void tst_MapLogic::countsEntriesPresent_data()
{
    QTest::addColumn<QVariant>("size");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QList<int>>("numbers");

    const QStringList oneTwo{"1", "2"};
    QTest::newRow("size as stored text") << QVariant("2") << oneTwo << QList<int>{1, 2};
    QTest::newRow("size not a number") << QVariant("two") << oneTwo << QList<int>{};
    QTest::newRow("negative size") << QVariant("-2") << oneTwo << QList<int>{};
    QTest::newRow("huge size capped to the entries present")
        << QVariant("2000000000") << oneTwo << QList<int>{1, 2};
    QTest::newRow("size beyond int") << QVariant("99999999999") << oneTwo << QList<int>{1, 2};
    QTest::newRow("size wrapping to 1 as int")
        << QVariant("4294967297") << oneTwo << QList<int>{1, 2};
    QTest::newRow("entries beyond the size are stale")
        << QVariant("2") << QStringList{"1", "2", "3"} << QList<int>{1, 2};
    QTest::newRow("missing entry is no entry")
        << QVariant("3") << QStringList{"1", "3"} << QList<int>{1, 3};
    // childGroups() sorts as text: "10" comes before "2".
    QTest::newRow("numeric order, not text order")
        << QVariant("10") << QStringList{"1", "10", "2"} << QList<int>{1, 2, 10};
    QTest::newRow("only canonical numbers name entries")
        << QVariant("5") << QStringList{"0", "01", "+2", " 3", "4a", "x", "5"} << QList<int>{5};
    QTest::newRow("lone entry at a huge number")
        << QVariant("2000000000") << QStringList{"2000000000"} << QList<int>{2000000000};
}

void tst_MapLogic::countsEntriesPresent()
{
    QFETCH(QVariant, size);
    QFETCH(QStringList, groups);
    QFETCH(QList<int>, numbers);
    QCOMPARE(SettingsArray::entryNumbers(size, groups), numbers);
}

// The host's map holds the same rule; these are its rows.
void tst_MapLogic::acceptsTileServerTemplate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");

    QTest::newRow("usual order") << "https://tiles.test/{z}/{x}/{y}.png" << true;
    QTest::newRow("capitals, row before column, spaces around")
        << "  HTTP://127.0.0.1:8080/t?z={z}&y={y}&x={x}  " << true;
    QTest::newRow("empty: a source with only a database") << "" << true;
    QTest::newRow("local folder") << "file:///srv/tiles/{z}/{x}/{y}.png" << false;
    QTest::newRow("relative path") << "tiles/{z}/{x}/{y}.png" << false;
    QTest::newRow("no row") << "https://t/{z}/{x}.png" << false;
    QTest::newRow("sub-domain placeholder") << "https://{s}.tiles.test/{z}/{x}/{y}.png" << false;
}

void tst_MapLogic::acceptsTileServerTemplate()
{
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    QCOMPARE(TileServerTemplate::isAcceptable(text), acceptable);
}

QTEST_APPLESS_MAIN(tst_MapLogic)
#include "tst_maplogic.moc"
