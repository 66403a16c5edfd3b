#include "controllerdevice.h"
#include "controllerposition.h"
#include "drawingfolder.h"
#include "pointtext.h"
#include "presencemap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Numbers = QVector<int>;

class tst_ExchangeLogic : public QObject
{
    Q_OBJECT

private slots:
    void mergesPresenceMap_data();
    void mergesPresenceMap();
    void convertsControllerPosition_data();
    void convertsControllerPosition();
    void recognisesDevice_data();
    void recognisesDevice();
    void listsDrawingFolder_data();
    void listsDrawingFolder();
};

void tst_ExchangeLogic::mergesPresenceMap_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<Numbers>("existing");
    QTest::addColumn<Numbers>("present");
    QTest::addColumn<Numbers>("missing");

    QTest::newRow("empty map") << QByteArray() << Numbers{1} << Numbers{} << Numbers{};
    QTest::newRow("high nibble first")
        << QByteArray("\x3F\xF1", 2) << Numbers{} << Numbers{0, 3} << Numbers{0, 3};
    QTest::newRow("absent bytes still count")
        << QByteArray("\xFF\xFF\x12", 3) << Numbers{} << Numbers{4, 5} << Numbers{4, 5};
    QTest::newRow("any value but 0xF is present")
        << QByteArray("\x0E\xE0", 2) << Numbers{} << Numbers{0, 1, 2, 3} << Numbers{0, 1, 2, 3};
    QTest::newRow("numbers held are left out")
        << QByteArray("\x00\x00", 2) << Numbers{4, 1, 1} << Numbers{0, 1, 2, 3} << Numbers{0, 2, 3};
    // A table row whose number is no number counts as 0.
    QTest::newRow("row read as 0 hides number 0")
        << QByteArray("\x01", 1) << Numbers{0} << Numbers{0, 1} << Numbers{1};
    QTest::newRow("numbers outside the map are ignored")
        << QByteArray("\x0F", 1) << Numbers{-1, 2, 1000000, INT_MIN, INT_MAX} << Numbers{0}
        << Numbers{0};
    QTest::newRow("last entry of a long map") << QByteArray(200, '\xFF') + QByteArray("\xF0", 1)
                                              << Numbers{} << Numbers{401} << Numbers{401};
}

void tst_ExchangeLogic::mergesPresenceMap()
{
    QFETCH(QByteArray, map);
    QFETCH(Numbers, existing);
    QFETCH(Numbers, present);
    QFETCH(Numbers, missing);

    QCOMPARE(PresenceMap::decode(map), present);
    QCOMPARE(PresenceMap::missing(map, existing), missing);
}

void tst_ExchangeLogic::convertsControllerPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("point"); // as the dialog shows it; empty: no point

    const char *const rows[][3] = {
        {"as a controller writes it", "5545.500N 03730.000E", "37.5;55.7583333333"},
        // In single precision this would be 55.7520589193.
        {"double precision", "5545.1234N 03730E", "37.5;55.7520566667"},
        {"lower case and surrounding spaces", "  5545.5n 3730e  ", "37.5;55.7583333333"},
        {"letters alone separate", "5545.5N3730E", "37.5;55.7583333333"},
        {"sign kept in the minutes", "-5545.5 -3730", "-37.5;-55.7583333333"},
        {"whole degrees", "0 18000", "180;0"},
        {"southern hemisphere letter", "5545.5S 03730E", ""},
        {"western hemisphere letter", "5545.5N 03730W", ""},
        {"empty", "", ""},
        {"one number", "5545.5N", ""},
        {"three numbers", "5545.5N 03730E 12", ""},
        {"decimal comma", "5545,5N 03730E", ""},
        {"tab is no separator", "5545.5\t03730", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2]);
    QTest::newRow("overflow is no number")
        << "1" + QString(400, QLatin1Char('0')) + "N 03730E" << QString();
}

void tst_ExchangeLogic::convertsControllerPosition()
{
    QFETCH(QString, text);
    QFETCH(QString, point);

    const QPointF untouched(-1, -1);
    QPointF result = untouched;
    const bool parses = !point.isEmpty();
    QCOMPARE(ControllerPosition::parse(text, &result), parses);
    if (parses)
        QCOMPARE(PointText::position.format(result), point);
    else
        QCOMPARE(result, untouched);
}

void tst_ExchangeLogic::recognisesDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("recognised");

    QTest::newRow("Latin name") << "Arvel2" << true;
    QTest::newRow("Latin name in capitals") << "ARVEL2" << true;
    QTest::newRow("Cyrillic word in capitals within a name") << "АРВЕЛ-М" << true;
    QTest::newRow("Cyrillic word in mixed case after text") << "Контроллер Арвел" << true;
    QTest::newRow("Latin name followed by a digit") << "Arvel21" << false;
    QTest::newRow("Latin name with a space") << " Arvel2" << false;
    QTest::newRow("Latin word alone") << "Arvel" << false;
    QTest::newRow("other device") << "LT9 gateway" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_ExchangeLogic::recognisesDevice()
{
    QFETCH(QString, name);
    QFETCH(bool, recognised);
    QCOMPARE(ControllerDevice::isRecognised(name), recognised);
}

void tst_ExchangeLogic::listsDrawingFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("objectSchema"); // empty: none
    // Listed phase files in order: name, then "=number" or "=none".
    QTest::addColumn<QStringList>("phases");

    QTest::newRow("main before bg")
        << QStringList{"main.emf", "bg.svg"} << "main.emf" << QStringList{};
    QTest::newRow("bg.svg before bg.wmf")
        << QStringList{"bg.wmf", "bg.svg"} << "bg.svg" << QStringList{};
    QTest::newRow("no object schema")
        << QStringList{"Main.svg.bak", "readme.txt"} << "" << QStringList{};
    QTest::newRow("names sorted character by character")
        << QStringList{"phase2.svg", "phase10.svg", "phase1.svg"} << ""
        << QStringList{"phase1.svg=1", "phase10.svg=10", "phase2.svg=2"};
    QTest::newRow("same number twice") << QStringList{"phase1.svg", "phase01.svg"} << ""
                                       << QStringList{"phase01.svg=1", "phase1.svg=1"};
    QTest::newRow("letter case ignored in match and order")
        << QStringList{"phase3.svg", "Phase4.SVG", "phase-x.svg", "main.wmf"} << "main.wmf"
        << QStringList{"phase-x.svg=none", "phase3.svg=3", "Phase4.SVG=4"};
    QTest::newRow("unnumbered phase files")
        << QStringList{"phase.svg", "phase3a.svg", "phase99999999999.svg"} << ""
        << QStringList{"phase.svg=none", "phase3a.svg=none", "phase99999999999.svg=none"};
    QTest::newRow("base name ends at the first dot")
        << QStringList{"phase3.v2.svg"} << "" << QStringList{"phase3.v2.svg=3"};
    QTest::newRow("other names ignored")
        << QStringList{"phase1.png", "xphase1.svg", "phase1.svg.bak", "phase7.svg"} << ""
        << QStringList{"phase7.svg=7"};
    QTest::newRow("a folder counts as an entry")
        << QStringList{"phase5.svg/", "bg.emf/"} << "bg.emf" << QStringList{"phase5.svg=5"};
}

void tst_ExchangeLogic::listsDrawingFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, objectSchema);
    QFETCH(QStringList, phases);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir folder(dir.path());
    for (const QString &file : files) {
        if (file.endsWith(QLatin1Char('/'))) {
            QVERIFY(folder.mkdir(file.chopped(1)));
            continue;
        }
        QFile created(folder.filePath(file));
        QVERIFY(created.open(QIODevice::WriteOnly));
    }

    QCOMPARE(DrawingFolder::objectSchema(dir.path()),
             objectSchema.isEmpty() ? QString() : folder.absoluteFilePath(objectSchema));

    QStringList listed;
    const QVector<DrawingFolder::PhaseFile> found = DrawingFolder::phaseFiles(dir.path());
    for (const DrawingFolder::PhaseFile &file : found) {
        QCOMPARE(QFileInfo(file.path).absolutePath(), folder.absolutePath());
        listed.append(QFileInfo(file.path).fileName() + QLatin1Char('=')
                      + (file.numbered ? QString::number(file.number) : QStringLiteral("none")));
    }
    QCOMPARE(listed, phases);
}

QTEST_APPLESS_MAIN(tst_ExchangeLogic)
#include "tst_exchangelogic.moc"
