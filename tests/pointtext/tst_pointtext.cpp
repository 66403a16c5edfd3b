#include "pointtext.h"

#include <QtTest>

class tst_PointText : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void parses_data();
    void parses();
};

// Each row is checked with both forms: the object dialog's position and a
// map preset's centre.
void tst_PointText::formats_data()
{
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QString>("text");

    const struct
    {
        const char *tag;
        QPointF point;
        const char *position;
        const char *centre;
    } rows[] = {
        {"origin", {0, 0}, "0;0", "0;0"},
        {"trailing zeros dropped", {37.5, 55.75}, "37.5;55.75", "37.5;55.75"},
        {"twelve and six significant digits",
         {37.123456789012345, 0.000123},
         "37.123456789;0.000123",
         "37.1235;0.000123"},
        {"six significant digits",
         {37.617298, 55.755826},
         "37.617298;55.755826",
         "37.6173;55.7558"},
        {"negative", {-10.5, -3.25}, "-10.5;-3.25", "-10.5;-3.25"},
        {"negative, rounded", {-122.419416, -33.8688}, "-122.419416;-33.8688", "-122.419;-33.8688"},
        {"rounding carries", {9.9999999, 0.0001234567}, "9.9999999;0.0001234567", "10;0.000123457"},
        {"exponent form", {1234567.0, 1e-7}, "1234567;1e-07", "1.23457e+06;1e-07"},
        {"large value in exponent form", {1e15, 2}, "1e+15;2", "1e+15;2"},
    };
    for (const auto &row : rows) {
        QTest::addRow("%s, position", row.tag) << false << row.point << row.position;
        QTest::addRow("%s, centre", row.tag) << true << row.point << row.centre;
    }
}

void tst_PointText::formats()
{
    QFETCH(bool, centre);
    QFETCH(QPointF, point);
    QFETCH(QString, text);
    QCOMPARE((centre ? PointText::centre : PointText::position).format(point), text);
}

void tst_PointText::parses_data()
{
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("parses");
    QTest::addColumn<QPointF>("point");

    const struct
    {
        const char *tag;
        QString text;
        bool position;
        bool centre;
        QPointF point;
    } rows[] = {
        {"two numbers", "37.5;55.75", true, true, {37.5, 55.75}},
        {"decimals and signs", "-37.5;+55.75", true, true, {-37.5, 55.75}},
        {"exponent", "1e2;2.5E-1", true, true, {100, 0.25}},
        {"signs and exponent", "-1e1;+2.5E-1", true, true, {-10, 0.25}},
        {"spaces around the numbers", " 10 ; 20 ", true, true, {10, 20}},
        {"tab and line break", "\t37.5;\n55.75", true, true, {37.5, 55.75}},
        {"largest finite", "1.79769e+308;0", true, true, {1.79769e308, 0}},
        {"subnormal", "4.94066e-324;0", true, true, {4.94066e-324, 0}},
        {"round trip of formatted text",
         PointText::position.format({37.123456789, 55.75}),
         true,
         true,
         {37.123456789, 55.75}},
        // The position skips empty parts; for a centre each is a part.
        {"empty part", "10;;20", true, false, {10, 20}},
        {"leading and trailing separators", ";10;20;", true, false, {10, 20}},
        {"trailing separator", "37.5;55.75;", true, false, {37.5, 55.75}},
        // Only an empty part is skipped: spaces are a part of their own.
        {"blank third part", "10;20; ", false, false, {}},

        {"empty", "", false, false, {}},
        {"only separators", ";;", false, false, {}},
        {"one number", "10", false, false, {}},
        {"three numbers", "10;20;30", false, false, {}},
        {"letters", "a;20", false, false, {}},
        {"number with suffix", "10a;20", false, false, {}},
        {"decimal comma", "10,5;20", false, false, {}},
        {"group separator", "1,000;55.75", false, false, {}},
        {"space instead of separator", "10 20", false, false, {}},
        {"space inside a number", "37 5;55.75", false, false, {}},
        {"not a number", "nan;20", false, false, {}},
        {"infinity", "10;inf", false, false, {}},
        {"negative infinity", "-inf;20", false, false, {}},
        {"overflow", "1e400;20", false, false, {}},
    };
    for (const auto &row : rows) {
        QTest::addRow("%s, position", row.tag) << false << row.text << row.position << row.point;
        QTest::addRow("%s, centre", row.tag) << true << row.text << row.centre << row.point;
    }
}

void tst_PointText::parses()
{
    QFETCH(bool, centre);
    QFETCH(QString, text);
    QFETCH(bool, parses);
    QFETCH(QPointF, point);

    const PointText &pointText = centre ? PointText::centre : PointText::position;
    const QPointF untouched(-1, -1);
    QPointF result = untouched;
    QCOMPARE(pointText.parse(text, &result), parses);
    QCOMPARE(result, parses ? point : untouched);
    if (!parses)
        return;
    // What is shown for a parsed point parses again, to the same text.
    const QString shown = pointText.format(result);
    QVERIFY(pointText.parse(shown, &result));
    QCOMPARE(pointText.format(result), shown);
}

QTEST_APPLESS_MAIN(tst_PointText)
#include "tst_pointtext.moc"
