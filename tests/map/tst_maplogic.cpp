#include "centretext.h"
#include "settingsarray.h"

#include <QtTest>

class tst_MapLogic : public QObject
{
    Q_OBJECT

private slots:
    void countsEntriesPresent_data();
    void countsEntriesPresent();
    void formatsCentre_data();
    void formatsCentre();
    void parsesCentre_data();
    void parsesCentre();
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

void tst_MapLogic::formatsCentre_data()
{
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");
    QTest::addColumn<QString>("text");

    QTest::newRow("six significant digits") << 37.617298 << 55.755826 << "37.6173;55.7558";
    QTest::newRow("trailing zeros dropped") << 37.5 << 55.75 << "37.5;55.75";
    QTest::newRow("negative") << -122.419416 << -33.8688 << "-122.419;-33.8688";
    QTest::newRow("rounding carries") << 9.9999999 << 0.0001234567 << "10;0.000123457";
    QTest::newRow("exponent form") << 1234567.0 << 1e-7 << "1.23457e+06;1e-07";
}

void tst_MapLogic::formatsCentre()
{
    QFETCH(double, lon);
    QFETCH(double, lat);
    QFETCH(QString, text);
    QCOMPARE(CentreText::format(lon, lat), text);
}

void tst_MapLogic::parsesCentre_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("parses");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");

    QTest::newRow("two numbers") << "37.5;55.75" << true << 37.5 << 55.75;
    QTest::newRow("spaces around the numbers") << " 37.5 ; 55.75 " << true << 37.5 << 55.75;
    QTest::newRow("tab and line break") << "\t37.5;\n55.75" << true << 37.5 << 55.75;
    QTest::newRow("signs and exponent") << "-1e1;+2.5E-1" << true << -10.0 << 0.25;
    QTest::newRow("largest finite") << "1.79769e+308;0" << true << 1.79769e308 << 0.0;
    QTest::newRow("subnormal") << "4.94066e-324;0" << true << 4.94066e-324 << 0.0;

    QTest::newRow("empty") << "" << false << 0.0 << 0.0;
    QTest::newRow("one number") << "37.5" << false << 0.0 << 0.0;
    QTest::newRow("three parts") << "37.5;55.75;1" << false << 0.0 << 0.0;
    QTest::newRow("trailing separator is a third part") << "37.5;55.75;" << false << 0.0 << 0.0;
    QTest::newRow("space inside a number") << "37 5;55.75" << false << 0.0 << 0.0;
    QTest::newRow("decimal comma") << "37,5;55.75" << false << 0.0 << 0.0;
    QTest::newRow("group separator") << "1,000;55.75" << false << 0.0 << 0.0;
    QTest::newRow("not a number") << "nan;55.75" << false << 0.0 << 0.0;
    QTest::newRow("infinity") << "37.5;inf" << false << 0.0 << 0.0;
    QTest::newRow("negative infinity") << "-inf;55.75" << false << 0.0 << 0.0;
    QTest::newRow("overflow") << "1e400;55.75" << false << 0.0 << 0.0;
}

void tst_MapLogic::parsesCentre()
{
    QFETCH(QString, text);
    QFETCH(bool, parses);
    QFETCH(double, lon);
    QFETCH(double, lat);

    double x = -1;
    double y = -1;
    QCOMPARE(CentreText::parse(text, &x, &y), parses);
    QCOMPARE(x, parses ? lon : -1.0);
    QCOMPARE(y, parses ? lat : -1.0);
    if (!parses)
        return;
    // What is shown for a parsed centre parses again, to the same text.
    const QString shown = CentreText::format(x, y);
    QVERIFY(CentreText::parse(shown, &x, &y));
    QCOMPARE(CentreText::format(x, y), shown);
}

QTEST_APPLESS_MAIN(tst_MapLogic)
#include "tst_maplogic.moc"
