// The map's plain logic: Web Mercator tiles, tile server templates and the
// coordinates as the map writes them.

#include "coordinatetext.h"
#include "tilemath.h"
#include "tiletemplate.h"

#include <QTest>

using TileMath::TileId;

class tst_HostMapLogic : public QObject
{
    Q_OBJECT

private slots:
    void pointSurvivesPixelAndBack_data();
    void pointSurvivesPixelAndBack();
    void tileHoldsItsPoint_data();
    void tileHoldsItsPoint();
    void coveringTakesTheAreaNearestFirst();
    void templateAsksForTheTile_data();
    void templateAsksForTheTile();
    void labelsNameTheHemisphere_data();
    void labelsNameTheHemisphere();
    void labelsStayWhole_data();
    void labelsStayWhole();
};

void tst_HostMapLogic::pointSurvivesPixelAndBack_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QPointF>("expected");

    const QPointF centre(37.6175, 55.7539);
    for (int zoom : {0, 10, 15, 18, TileMath::MaxZoom})
        QTest::addRow("sample centre at zoom %d", zoom) << centre << zoom << centre;
    QTest::newRow("south-west") << QPointF(-58.38, -34.6) << 12 << QPointF(-58.38, -34.6);
    QTest::newRow("date line") << QPointF(-180.0, 0.0) << 3 << QPointF(-180.0, 0.0);
    // Beyond the Mercator limit a pole is held at the world's edge.
    QTest::newRow("north pole") << QPointF(10.0, 90.0) << 5 << QPointF(10.0, TileMath::MaxLatitude);
    QTest::newRow("south pole") << QPointF(10.0, -90.0) << 5
                                << QPointF(10.0, -TileMath::MaxLatitude);
}

void tst_HostMapLogic::pointSurvivesPixelAndBack()
{
    QFETCH(QPointF, point);
    QFETCH(int, zoom);
    QFETCH(QPointF, expected);

    const QPointF pixel = TileMath::pixelAt(point, zoom);
    const double world = 256.0 * (1 << zoom);
    QVERIFY(pixel.x() >= 0.0 && pixel.x() <= world);
    QVERIFY(pixel.y() >= 0.0 && pixel.y() <= world);
    const QPointF back = TileMath::pointAt(pixel, zoom);
    QVERIFY2(
        qAbs(back.x() - expected.x()) < 1e-9 && qAbs(back.y() - expected.y()) < 1e-9,
        qPrintable(QStringLiteral("%1;%2").arg(back.x(), 0, 'g', 15).arg(back.y(), 0, 'g', 15)));
}

void tst_HostMapLogic::tileHoldsItsPoint_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<TileId>("tile");
    QTest::addColumn<int>("mbtilesRow");

    QTest::newRow("whole world") << QPointF(37.6, 55.7) << 0 << TileId{0, 0, 0} << 0;
    QTest::newRow("north-east quarter") << QPointF(37.6, 55.7) << 1 << TileId{1, 1, 0} << 1;
    QTest::newRow("sample centre at 15")
        << QPointF(37.6175, 55.7539) << 15 << TileId{15, 19808, 10243} << 22524;
    QTest::newRow("south-west at 10")
        << QPointF(-58.38, -34.6) << 10 << TileId{10, 345, 617} << 406;
    QTest::newRow("pole clamped to the last row")
        << QPointF(0.0, -90.0) << 4 << TileId{4, 8, 15} << 0;
    QTest::newRow("east edge in the last column")
        << QPointF(180.0, 0.0) << 2 << TileId{2, 3, 2} << 1;
}

void tst_HostMapLogic::tileHoldsItsPoint()
{
    QFETCH(QPointF, point);
    QFETCH(int, zoom);
    QFETCH(TileId, tile);
    QFETCH(int, mbtilesRow);

    const TileId found = TileMath::tileAt(point, zoom);
    QCOMPARE(found.zoom, tile.zoom);
    QCOMPARE(found.x, tile.x);
    QCOMPARE(found.y, tile.y);
    QCOMPARE(TileMath::mbtilesRow(found), mbtilesRow);
    const QRectF bounds = TileMath::bounds(found);
    QVERIFY(bounds.width() > 0 && bounds.height() > 0);
    const QPointF clamped(point.x(),
                          qBound(-TileMath::MaxLatitude, point.y(), TileMath::MaxLatitude));
    QVERIFY(bounds.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(clamped));
}

void tst_HostMapLogic::coveringTakesTheAreaNearestFirst()
{
    // 1600 x 1000 pixels at zoom 15 around the sample's centre.
    const int zoom = 15;
    const QPointF centre = TileMath::pixelAt(QPointF(37.6175, 55.7539), zoom);
    const QPointF northWest = TileMath::pointAt(centre - QPointF(800, 500), zoom);
    const QPointF southEast = TileMath::pointAt(centre + QPointF(800, 500), zoom);
    const QRectF area(QPointF(northWest.x(), southEast.y()), QPointF(southEast.x(), northWest.y()));

    const QVector<TileId> tiles = TileMath::covering(area, zoom);
    const TileId first = TileMath::tileAt(QPointF(area.left(), area.bottom()), zoom);
    const TileId last = TileMath::tileAt(QPointF(area.right(), area.top()), zoom);
    QCOMPARE(tiles.size(), (last.x - first.x + 1) * (last.y - first.y + 1));
    QVERIFY(tiles.size() <= 8 * 5);
    QCOMPARE(QSet<TileId>(tiles.cbegin(), tiles.cend()).size(), tiles.size());
    QCOMPARE(tiles.first(), TileMath::tileAt(QPointF(37.6175, 55.7539), zoom));
    for (const TileId &tile : tiles)
        QVERIFY(TileMath::bounds(tile).intersects(area));

    // The whole world at zoom 25 is no area to fetch.
    QVERIFY(TileMath::covering(QRectF(-180, -85, 360, 170), TileMath::MaxZoom).isEmpty());
}

void tst_HostMapLogic::templateAsksForTheTile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("unknown");

    QTest::newRow("usual order") << "https://tiles.test/{z}/{x}/{y}.png"
                                 << "https://tiles.test/15/19808/10243.png" << QStringList();
    QTest::newRow("row before column, spaces around")
        << "  http://127.0.0.1:8080/t?z={z}&y={y}&x={x}  "
        << "http://127.0.0.1:8080/t?z=15&y=10243&x=19808" << QStringList();
    // A file: template would read any file, or wait on a named pipe for ever.
    QTest::newRow("local folder") << "file:///srv/tiles/{z}/{x}/{y}.png" << QString()
                                  << QStringList();
    QTest::newRow("sub-domain placeholder")
        << "https://{s}.tiles.test/{z}/{x}/{y}.png" << QString() << QStringList{"{s}"};
    QTest::newRow("two unknown, once each")
        << "https://t/{z}/{x}/{y}{r}.png?k={key}&r={r}" << QString() << QStringList{"{r}", "{key}"};
    QTest::newRow("no row") << "https://t/{z}/{x}.png" << QString() << QStringList();
    QTest::newRow("relative path") << "tiles/{z}/{x}/{y}.png" << QString() << QStringList();
    QTest::newRow("empty") << "" << QString() << QStringList();
}

void tst_HostMapLogic::templateAsksForTheTile()
{
    QFETCH(QString, text);
    QFETCH(QString, url);
    QFETCH(QStringList, unknown);

    const TileTemplate tiles(text);
    QCOMPARE(tiles.isValid(), !url.isEmpty());
    QCOMPARE(tiles.problem().isEmpty(), !url.isEmpty() || tiles.isEmpty());
    QCOMPARE(tiles.unknownPlaceholders(), unknown);
    QCOMPARE(tiles.url(TileId{15, 19808, 10243}).toString(), url);
}

void tst_HostMapLogic::labelsNameTheHemisphere_data()
{
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("latitude");

    QTest::newRow("west and south") << -50.0 << 10.0 << QStringLiteral("50°W") << "50°S";
    QTest::newRow("east and north") << 37.55 << 0.05 << QStringLiteral("37.55°E") << "37.55°N";
    // Beside "37.8°E", not "38°E".
    QTest::newRow("whole degree on a fine grid")
        << 38.0 << 0.2 << QStringLiteral("38.0°E") << "38.0°N";
    QTest::newRow("step of exactly a tenth") << 55.3 << 0.1 << QStringLiteral("55.3°E") << "55.3°N";
    QTest::newRow("fine step keeps lines apart")
        << 37.6005 << 0.0005 << QStringLiteral("37.6005°E") << "37.6005°N";
    QTest::newRow("zero has no side") << -0.0 << 1.0 << QStringLiteral("0°") << "0°";
    QTest::newRow("almost zero has no side")
        << -1e-12 << 0.01 << QStringLiteral("0.00°") << "0.00°";
}

void tst_HostMapLogic::labelsNameTheHemisphere()
{
    QFETCH(double, degrees);
    QFETCH(double, step);
    QFETCH(QString, longitude);
    QFETCH(QString, latitude);

    QCOMPARE(CoordinateText::longitude(degrees, step), longitude);
    QCOMPARE(CoordinateText::latitude(degrees, step), latitude);
}

void tst_HostMapLogic::labelsStayWhole_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("edge");
    QTest::addColumn<bool>("after");
    QTest::addColumn<int>("start");

    QTest::newRow("after the line") << 100 << 50 << 400 << true << 103;
    QTest::newRow("before the line") << 100 << 14 << 400 << false << 83;
    QTest::newRow("just fits after") << 347 << 50 << 400 << true << 350;
    QTest::newRow("near the far edge, before") << 380 << 50 << 400 << true << 327;
    QTest::newRow("near the near edge, after") << 10 << 14 << 300 << false << 13;
    QTest::newRow("line outside the view") << -5 << 50 << 400 << true << -1;
    QTest::newRow("line at the far edge") << 400 << 50 << 400 << false << -1;
    QTest::newRow("room on neither side") << 30 << 50 << 60 << true << -1;
}

void tst_HostMapLogic::labelsStayWhole()
{
    QFETCH(int, line);
    QFETCH(int, size);
    QFETCH(int, edge);
    QFETCH(bool, after);
    QFETCH(int, start);

    using CoordinateText::Side;
    QCOMPARE(CoordinateText::labelStart(line, size, edge, after ? Side::After : Side::Before),
             start);
}

QTEST_APPLESS_MAIN(tst_HostMapLogic)

#include "tst_hostmaplogic.moc"
