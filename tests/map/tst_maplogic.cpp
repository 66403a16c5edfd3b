#include "centretext.h"
#include "settingsarray.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace {

// Writes `iniText` into a fresh file of `dir`.
QString iniFile(const QTemporaryDir &dir, const QByteArray &iniText)
{
    const QString path = dir.filePath(QStringLiteral("array.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(iniText);
    return path;
}

// Entries as "value|value|...", an absent value shown as "<none>".
QStringList describe(const QList<QVariantList> &entries)
{
    QStringList lines;
    for (const QVariantList &entry : entries) {
        QStringList values;
        for (const QVariant &value : entry)
            values << (value.isValid() ? value.toString() : QStringLiteral("<none>"));
        lines << values.join(QLatin1Char('|'));
    }
    return lines;
}

const QStringList Keys{QStringLiteral("name"), QStringLiteral("dbFile")};

} // namespace

class tst_MapLogic : public QObject
{
    Q_OBJECT

private slots:
    void countsEntriesPresent_data();
    void countsEntriesPresent();
    void readsArray_data();
    void readsArray();
    void rewritesArrayConsecutively_data();
    void rewritesArrayConsecutively();
    void formatsCentre_data();
    void formatsCentre();
    void parsesCentre_data();
    void parsesCentre();
    void readsStoredCoordinate_data();
    void readsStoredCoordinate();
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
    QTest::newRow("size wrapping to 1 as int") << QVariant("4294967297") << oneTwo << QList<int>{1, 2};
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

void tst_MapLogic::readsArray_data()
{
    QTest::addColumn<QByteArray>("iniText");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("two entries in order")
        << QByteArray("[Map]\nsize=2\n1\\name=A\n1\\dbFile=a.db\n2\\name=B\n2\\dbFile=b.db\n")
        << QStringList{"A|a.db", "B|b.db"};
    QTest::newRow("entry lacking a key")
        << QByteArray("[Map]\nsize=1\n1\\name=A\n") << QStringList{"A|<none>"};
    QTest::newRow("no array") << QByteArray("[Other]\nx=1\n") << QStringList{};
    QTest::newRow("huge size")
        << QByteArray("[Map]\nsize=2000000000\n1\\name=A\n") << QStringList{"A|<none>"};
    QTest::newRow("text with spaces and a comma")
        << QByteArray("[Map]\nsize=1\n1\\name=\" City, north \"\n1\\dbFile=\n")
        << QStringList{" City, north |"};
}

void tst_MapLogic::readsArray()
{
    QFETCH(QByteArray, iniText);
    QFETCH(QStringList, entries);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSettings settings(iniFile(dir, iniText), QSettings::IniFormat);
    QCOMPARE(describe(SettingsArray::read(settings, QStringLiteral("Map"), Keys)), entries);
    QCOMPARE(settings.group(), QString());
}

void tst_MapLogic::rewritesArrayConsecutively_data()
{
    QTest::addColumn<QByteArray>("iniText");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("keys");

    const QByteArray three("[Map]\nsize=3\n1\\name=A\n1\\extra=x\n2\\name=B\n3\\name=C\n"
                           "[MapSources]\nkeep=1\n[GraphicsScene]\nzoomMin=5\n");
    QTest::newRow("fewer entries leave no stale one")
        << three << QStringList{"C|c.db"}
        << QStringList{"GraphicsScene/zoomMin=5", "Map/1/dbFile=c.db", "Map/1/name=C",
                       "Map/size=1", "MapSources/keep=1"};
    QTest::newRow("no entries leave the size 0")
        << three << QStringList{}
        << QStringList{"GraphicsScene/zoomMin=5", "Map/size=0", "MapSources/keep=1"};
    QTest::newRow("into an empty file")
        << QByteArray() << QStringList{"A|", "|b.db"}
        << QStringList{"Map/1/dbFile=", "Map/1/name=A", "Map/2/dbFile=b.db", "Map/2/name=",
                       "Map/size=2"};
    QTest::newRow("entries at huge numbers go")
        << QByteArray("[Map]\nsize=2000000000\n2000000000\\name=Z\n") << QStringList{"A|a.db"}
        << QStringList{"Map/1/dbFile=a.db", "Map/1/name=A", "Map/size=1"};
}

void tst_MapLogic::rewritesArrayConsecutively()
{
    QFETCH(QByteArray, iniText);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, keys);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = iniFile(dir, iniText);
    {
        QSettings settings(path, QSettings::IniFormat);
        QList<QVariantList> values;
        for (const QString &entry : entries) {
            QVariantList row;
            for (const QString &value : entry.split(QLatin1Char('|')))
                row << value;
            values << row;
        }
        SettingsArray::write(settings, QStringLiteral("Map"), Keys, values);
        QCOMPARE(settings.group(), QString());
    }
    QSettings written(path, QSettings::IniFormat);
    QStringList found;
    for (const QString &key : written.allKeys())
        found << key + QLatin1Char('=') + written.value(key).toString();
    found.sort();
    QCOMPARE(found, keys);
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
    QTest::newRow("hexadecimal") << "0x10;1" << false << 0.0 << 0.0;
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

void tst_MapLogic::readsStoredCoordinate_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<double>("value");

    QTest::newRow("text of a number") << QVariant("55.755826") << 55.755826;
    QTest::newRow("absent") << QVariant() << 0.0;
    QTest::newRow("not a number") << QVariant("north") << 0.0;
    QTest::newRow("nan text") << QVariant("nan") << 0.0;
    QTest::newRow("infinite number") << QVariant(std::numeric_limits<double>::infinity()) << 0.0;
}

void tst_MapLogic::readsStoredCoordinate()
{
    QFETCH(QVariant, stored);
    QFETCH(double, value);
    QCOMPARE(CentreText::coordinate(stored), value);
}

QTEST_APPLESS_MAIN(tst_MapLogic)
#include "tst_maplogic.moc"
