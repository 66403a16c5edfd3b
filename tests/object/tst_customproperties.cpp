#include "customproperties.h"

#include <QPointF>
#include <QVariantMap>
#include <QtTest>

#include <limits>

class tst_CustomProperties : public QObject
{
    Q_OBJECT

private slots:
    void tellsWhetherTextKeepsValue_data();
    void tellsWhetherTextKeepsValue();
    void picksRowAfterRemoval_data();
    void picksRowAfterRemoval();
};

void tst_CustomProperties::tellsWhetherTextKeepsValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("keeps");

    QTest::newRow("text") << QVariant(QStringLiteral("Центральный")) << true;
    QTest::newRow("empty text") << QVariant(QString()) << true;
    QTest::newRow("text with spaces") << QVariant(QStringLiteral(" a ")) << true;
    QTest::newRow("integer") << QVariant(42) << true;
    QTest::newRow("negative integer") << QVariant(-7) << true;
    QTest::newRow("large integer") << QVariant(qlonglong(1) << 60) << true;
    QTest::newRow("fraction") << QVariant(0.1) << true;
    QTest::newRow("truth value") << QVariant(true) << true;
    QTest::newRow("bytes of UTF-8 text") << QVariant(QByteArray("abc")) << true;
    // Writing it back unchanged would remove the property.
    QTest::newRow("invalid") << QVariant() << true;

    QTest::newRow("list") << QVariant(QVariantList{1, 2}) << false;
    QTest::newRow("empty list") << QVariant(QVariantList()) << false;
    QTest::newRow("list of one text") << QVariant(QStringList{QStringLiteral("a")}) << false;
    QTest::newRow("map") << QVariant(QVariantMap{{QStringLiteral("k"), 1}}) << false;
    QTest::newRow("point") << QVariant(QPointF(1, 2)) << false;
    QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN()) << false;
    QTest::newRow("bytes that are no UTF-8") << QVariant(QByteArray("\xff\xfe")) << false;
}

void tst_CustomProperties::tellsWhetherTextKeepsValue()
{
    QFETCH(QVariant, value);
    QFETCH(bool, keeps);
    QCOMPARE(CustomProperties::textKeepsValue(value), keeps);
}

void tst_CustomProperties::picksRowAfterRemoval_data()
{
    QTest::addColumn<QList<int>>("removed");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("row");

    QTest::newRow("two middle rows: the one after") << QList<int>{1, 2} << 4 << 3;
    QTest::newRow("last row: the one above") << QList<int>{3} << 4 << 2;
    QTest::newRow("two last rows") << QList<int>{2, 3} << 4 << 1;
    QTest::newRow("two last rows listed backwards") << QList<int>{3, 2} << 4 << 1;
    // The row after the last one listed is itself going.
    QTest::newRow("middle rows listed backwards") << QList<int>{2, 1} << 4 << 3;
    QTest::newRow("first rows listed backwards") << QList<int>{1, 0} << 3 << 2;
    QTest::newRow("rows around a kept one") << QList<int>{0, 2} << 3 << 1;
    QTest::newRow("every row") << QList<int>{0, 1, 2} << 3 << -1;
    QTest::newRow("only row") << QList<int>{0} << 1 << -1;
    QTest::newRow("nothing") << QList<int>() << 3 << -1;
}

void tst_CustomProperties::picksRowAfterRemoval()
{
    QFETCH(QList<int>, removed);
    QFETCH(int, rowCount);
    QFETCH(int, row);
    QCOMPARE(CustomProperties::rowAfterRemoval(removed, rowCount), row);
}

QTEST_APPLESS_MAIN(tst_CustomProperties)
#include "tst_customproperties.moc"
