#include "controllertypes.h"
#include "objectidentifier.h"
#include "schemapath.h"

#include <QtTest>

class tst_ObjectLogic : public QObject
{
    Q_OBJECT

private slots:
    void convertsSchemaPaths_data();
    void convertsSchemaPaths();
    void mapsTypeToItem_data();
    void mapsTypeToItem();
    void checksIdentifier_data();
    void checksIdentifier();
};

void tst_ObjectLogic::convertsSchemaPaths_data()
{
    QTest::addColumn<QString>("baseDir");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("storedAgain");

    const char *const rows[][5] = {
        {"inside the base folder", "/data/proj", "/data/proj/schemas/a.svg", "schemas/a.svg",
         "/data/proj/schemas/a.svg"},
        {"beside the base folder", "/data/proj", "/data/other/a.svg", "../other/a.svg",
         "/data/other/a.svg"},
        {"base folder with trailing slash", "/data/proj/", "/data/proj/x/main.svg", "x/main.svg",
         "/data/proj/x/main.svg"},
        {"sibling folder sharing the name's start", "/data/proj", "/data/project/a.svg",
         "../project/a.svg", "/data/project/a.svg"},
        {"unclean path inside the base folder", "/data/proj", "/data/proj/x/../schemas/a.svg",
         "schemas/a.svg", "/data/proj/schemas/a.svg"},
        {"dot segment inside the base folder", "/data/proj", "/data/proj/./a.svg", "a.svg",
         "/data/proj/a.svg"},
        {"trailing dot segment", "/data/proj", "/data/proj/x/.", "x", "/data/proj/x"},
        {"doubled separator", "/data/proj", "/data/proj//a.svg", "a.svg", "/data/proj/a.svg"},
        {"unclean base folder", "/data/x/../proj", "/data/proj/a.svg", "a.svg", "/data/proj/a.svg"},
        {"base folder with a trailing separator as the path", "/data/proj", "/data/proj/", ".",
         "/data/proj"},
        {"no base folder", "", "/data/proj/a.svg", "/data/proj/a.svg", "/data/proj/a.svg"},
        {"no base folder keeps a relative path", "", "a/../b.svg", "a/../b.svg", "a/../b.svg"},
        {"empty path", "/data/proj", "", "", ""},
        {"the base folder itself", "/data/proj", "/data/proj", ".", "/data/proj"},
        {"non-ASCII names", "/данные/проект", "/данные/проект/схема 1.svg", "схема 1.svg",
         "/данные/проект/схема 1.svg"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2])
                              << QString::fromUtf8(row[3]) << QString::fromUtf8(row[4]);
}

void tst_ObjectLogic::convertsSchemaPaths()
{
    QFETCH(QString, baseDir);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, storedAgain);

    QCOMPARE(SchemaPath::toRelativePath(baseDir, stored), shown);
    QCOMPARE(SchemaPath::toAbsolutePath(baseDir, shown), storedAgain);
    // Converting many paths against one base gives the same.
    const SchemaPath::Base base(baseDir);
    QCOMPARE(base.toRelativePath(stored), shown);
    QCOMPARE(base.toAbsolutePath(shown), storedAgain);
}

void tst_ObjectLogic::mapsTypeToItem_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("item");

    // Index 3 stands for "append as a new item".
    QTest::newRow("empty type keeps the first item") << "" << 0;
    QTest::newRow("exact label") << "LT_COG" << 1;
    QTest::newRow("first of equal labels") << "Arvel2" << 2;
    QTest::newRow("other letter case is unknown") << "lt_cog" << 3;
    QTest::newRow("part of a label is unknown") << "LT" << 3;
    QTest::newRow("trailing space is unknown") << "LT_COG " << 3;
}

void tst_ObjectLogic::mapsTypeToItem()
{
    QFETCH(QString, type);
    QFETCH(int, item);
    const QStringList labels{QStringLiteral("Арвел"), QStringLiteral("LT_COG"),
                             QStringLiteral("Arvel2")};
    QCOMPARE(ControllerTypes::itemForType(labels, type), item);
}

void tst_ObjectLogic::checksIdentifier_data()
{
    QTest::addColumn<int>("loaded");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("effective");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("askProject");

    QTest::newRow("new object given an id") << 0 << 12 << 12 << true << true;
    QTest::newRow("negative id shown as 0") << -5 << 0 << 0 << false << true;
    QTest::newRow("existing id kept") << 5 << 5 << 5 << true << false;
    QTest::newRow("existing id changed") << 5 << 12 << 12 << true << true;
    QTest::newRow("existing id cleared") << 5 << 0 << 0 << false << true;
    QTest::newRow("largest id the field shows")
        << 999999999 << 999999999 << 999999999 << true << false;
    QTest::newRow("id above the field kept")
        << 1234567890 << 999999999 << 1234567890 << true << false;
    QTest::newRow("id above the field replaced") << 1234567890 << 7 << 7 << true << true;
}

void tst_ObjectLogic::checksIdentifier()
{
    QFETCH(int, loaded);
    QFETCH(int, shown);
    QFETCH(int, effective);
    QFETCH(bool, valid);
    QFETCH(bool, askProject);

    const int id = ObjectIdentifier::effective(loaded, shown);
    QCOMPARE(id, effective);
    QCOMPARE(ObjectIdentifier::isValid(id), valid);
    QCOMPARE(ObjectIdentifier::needsUniquenessCheck(loaded, id), askProject);
}

QTEST_APPLESS_MAIN(tst_ObjectLogic)
#include "tst_objectlogic.moc"
