// editor2-sampletiles FILE: draws the sample project's map into an MBTiles
// file at build time. The streets are made up from the sample itself: each
// controller stands where the two streets of its description cross, so the
// tiles are clearly sample tiles and hold no third-party map data.

#include "light.h"
#include "project.h"
#include "sampleproject.h"
#include "tilemath.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

const char Attribution[] = "Sample tiles drawn by editor2-host from the sample project";

struct Street
{
    QString name;
    QPointF through; // longitude, latitude
    double bearing;  // degrees from east, anticlockwise
    bool avenue;
};

struct Map
{
    QList<Street> streets;
    QPointF park;
    QPointF station;
    QPointF square;
    double riverLatitude = 0.0;
    double gridBearing = 0.0;
    QRectF area; // longitude, latitude: the controllers' box
};

// Degrees of latitude and longitude per metre near the sample's place.
QPointF metres(const QPointF &at, double east, double north)
{
    const double lat = 1.0 / 111320.0;
    const double lon = lat / std::cos(qDegreesToRadians(at.y()));
    return at + QPointF(east * lon, north * lat);
}

bool isAvenue(const QString &name)
{
    return name.startsWith(QStringLiteral("пр."));
}

Map makeMap(const QList<Arvel::Light *> &lights)
{
    Map map;
    QPointF low = lights.value(0) ? lights.first()->position() : QPointF();
    QPointF high = low;
    for (const Arvel::Light *light : lights) {
        const QPointF at = light->position();
        low = QPointF(qMin(low.x(), at.x()), qMin(low.y(), at.y()));
        high = QPointF(qMax(high.x(), at.x()), qMax(high.y(), at.y()));
        // "Street A – Street B": A runs roughly east-west, B north-south, each
        // turned a little by the controller's id so that no two are alike.
        const QStringList names = light->description().split(QStringLiteral(" – "));
        const double turn = (light->id() * 37 % 21) - 10;
        if (names.size() == 2) {
            map.streets.append({names.at(0), at, turn, isAvenue(names.at(0))});
            map.streets.append({names.at(1), at, 90.0 + turn / 2, isAvenue(names.at(1))});
        } else {
            map.station = metres(at, -40, 70);
            map.streets.append({QStringLiteral("ул. Вокзальная"), at, turn, false});
        }
        if (light->description().startsWith(QStringLiteral("пл.")))
            map.square = at;
        if (light->description().contains(QStringLiteral("Лесная")))
            map.park = metres(at, 260, -230);
    }
    map.area = QRectF(low, high);
    // The embankment is south of the square, along the river.
    map.riverLatitude = metres(map.square, 0, -160).y();
    map.gridBearing = 0.0;
    return map;
}

class TilePainter
{
public:
    TilePainter(const Map &map, int zoom)
        : m_map(map)
        , m_zoom(zoom)
        , m_metresPerPixel(156543.034 * std::cos(qDegreesToRadians(map.square.y()))
                           / std::ldexp(1.0, zoom))
    {
    }

    QImage paint(const TileMath::TileId &tile) const
    {
        QImage image(TileMath::TileSize, TileMath::TileSize, QImage::Format_RGB32);
        image.fill(QColor(0xef, 0xea, 0xe0));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-QPointF(tile.x, tile.y) * TileMath::TileSize);
        drawGround(painter);
        if (m_zoom >= 15)
            drawSideStreets(painter);
        drawRiverAndRailway(painter);
        drawStreets(painter);
        if (m_zoom >= 15)
            drawNames(painter);
        return image;
    }

private:
    QPointF px(const QPointF &lonLat) const { return TileMath::pixelAt(lonLat, m_zoom); }
    double width(double metres, double least) const
    {
        return qMax(least, metres / m_metresPerPixel);
    }

    // A straight line through `at` at `bearing`, long enough to cross the map.
    QLineF line(const QPointF &at, double bearing) const
    {
        const QPointF centre = px(at);
        const double reach = 20000.0 / m_metresPerPixel;
        const double angle = qDegreesToRadians(bearing);
        const QPointF along(std::cos(angle) * reach, -std::sin(angle) * reach);
        return QLineF(centre - along, centre + along);
    }

    void drawGround(QPainter &painter) const
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xc6, 0xe4, 0xb0));
        painter.drawEllipse(px(m_map.park), width(340, 3), width(230, 2));
        painter.setBrush(QColor(0xe0, 0xdb, 0xd0));
        painter.drawEllipse(px(m_map.square), width(75, 2), width(75, 2));
    }

    // Side streets end at the river; the named ones cross it on bridges.
    void drawRiverAndRailway(QPainter &painter) const
    {
        QPainterPath river;
        const QPointF west(m_map.area.left() - 0.3, m_map.riverLatitude);
        river.moveTo(px(west));
        for (int i = 1; i <= 120; ++i) {
            const double lon = west.x() + i * 0.006;
            river.lineTo(px(QPointF(lon, m_map.riverLatitude + 0.0007 * std::sin(i * 0.9))));
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x9c, 0xc8, 0xdc), width(70, 3), Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPath(river);

        const QPointF station = px(m_map.station);
        const QSizeF building(width(150, 3), width(45, 2));
        const double tracks = building.height() / 2 + width(25, 2);
        painter.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), width(3, 1), Qt::DashLine));
        for (int track = 0; track < 2; ++track) {
            const double y = station.y() - tracks - track * width(10, 2);
            painter.drawLine(QLineF(station.x() - 1e6, y, station.x() + 1e6, y));
        }
        painter.setBrush(QColor(0xd9, 0xc4, 0xb0));
        painter.setPen(QPen(QColor(0xb2, 0x9c, 0x88), 1));
        painter.drawRect(
            QRectF(station - QPointF(building.width(), building.height()) / 2, building));
    }

    // A grid of side streets every 220 m, under the named ones; north-south
    // and east-west on whole pixels, which keeps the tiles small.
    void drawSideStreets(QPainter &painter) const
    {
        const QPointF origin = m_map.square;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (int pass = 0; pass < 2; ++pass) {
            painter.setPen(QPen(pass == 0 ? QColor(0xd8, 0xd2, 0xc6) : QColor(Qt::white),
                                width(7, 1.0) + (pass == 0 ? 1.5 : 0), Qt::SolidLine, Qt::FlatCap));
            for (int i = -25; i <= 25; ++i) {
                const double along = qDegreesToRadians(m_map.gridBearing);
                const double step = 220.0 * i;
                const QPointF eastward =
                    metres(origin, -std::sin(along) * step, std::cos(along) * step);
                const QPointF northward =
                    metres(origin, std::cos(along) * step, std::sin(along) * step);
                painter.drawLine(line(eastward, m_map.gridBearing));
                painter.drawLine(line(northward, m_map.gridBearing + 90));
            }
        }
        painter.restore();
    }

    void drawStreets(QPainter &painter) const
    {
        for (int pass = 0; pass < 2; ++pass) {
            for (const Street &street : m_map.streets) {
                const double inner = street.avenue ? width(26, 3.0) : width(16, 2.0);
                const QColor fill =
                    street.avenue ? QColor(0xf7, 0xd6, 0x8a) : QColor(0xfd, 0xfd, 0xfb);
                painter.setPen(QPen(pass == 0 ? QColor(0xb8, 0xae, 0x9e) : fill,
                                    pass == 0 ? inner + 2.0 : inner, Qt::SolidLine, Qt::FlatCap));
                painter.drawLine(line(street.through, street.bearing));
            }
        }
    }

    void drawNames(QPainter &painter) const
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        for (const Street &street : m_map.streets) {
            // Beside the crossing, along the street, upright.
            const double angle = qDegreesToRadians(street.bearing);
            const QPointF along(std::cos(angle), -std::sin(angle));
            const QPointF at = px(street.through) + along * 24.0;
            double rotation = -street.bearing;
            if (rotation < -90)
                rotation += 180;
            QPainterPath text;
            text.addText(QPointF(0, 4), font, street.name);
            painter.save();
            painter.translate(at);
            painter.rotate(rotation);
            painter.strokePath(text, QPen(QColor(255, 255, 255, 220), 3));
            painter.fillPath(text, QColor(0x4a, 0x45, 0x3e));
            painter.restore();
        }
    }

    const Map &m_map;
    int m_zoom;
    double m_metresPerPixel;
};

// The tiles of the controllers' area with a margin of a screenful, so that a
// view of the whole area finds its tiles at every zoom.
QVector<TileMath::TileId> covering(const QRectF &area, int zoom)
{
    const TileMath::TileId first = TileMath::tileAt(QPointF(area.left(), area.bottom()), zoom);
    const TileMath::TileId last = TileMath::tileAt(QPointF(area.right(), area.top()), zoom);
    QVector<TileMath::TileId> tiles;
    for (int y = first.y - 3; y <= last.y + 3; ++y) {
        for (int x = first.x - 4; x <= last.x + 4; ++x) {
            const TileMath::TileId tile{zoom, x, y};
            if (TileMath::isValid(tile))
                tiles.append(tile);
        }
    }
    return tiles;
}

// Tiles in a palette of their own compress to a fraction of full colour:
// the 256 commonest colours, every other pixel taking the nearest of them.
QByteArray png(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x] | 0xff000000u];
    }
    QVector<QPair<int, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.append({-it.value(), it.key()});
    std::sort(byCount.begin(), byCount.end());
    QVector<QRgb> palette;
    for (int i = 0; i < byCount.size() && i < 256; ++i)
        palette.append(byCount.at(i).second);
    QHash<QRgb, uchar> nearest;
    const auto index = [&palette, &nearest](QRgb color) {
        const auto found = nearest.constFind(color);
        if (found != nearest.cend())
            return *found;
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (int i = 0; i < palette.size(); ++i) {
            const int dr = qRed(color) - qRed(palette.at(i));
            const int dg = qGreen(color) - qGreen(palette.at(i));
            const int db = qBlue(color) - qBlue(palette.at(i));
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        nearest.insert(color, uchar(best));
        return uchar(best);
    };
    QImage indexed(image.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            out[x] = index(line[x] | 0xff000000u);
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(0);
    writer.write(indexed);
    return data;
}

bool run(const QString &fileName, QTextStream &err)
{
    QTemporaryDir scratch;
    const std::unique_ptr<Arvel::Project> project(Arvel::createSampleProject(scratch.path()));
    bool ok = false;
    const int zoomMin = project->zoomMin(&ok);
    const int zoomMax = ok ? project->zoomMax(&ok) : 0;
    if (!ok) {
        err << "editor2-sampletiles: the sample project has no zoom limits\n";
        return false;
    }
    const Map map = makeMap(project->lights());

    QFile::remove(fileName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(fileName);
    if (!db.open()) {
        err << "editor2-sampletiles: " << db.lastError().text() << '\n';
        return false;
    }
    // Identical tiles (open land) are stored once, as MBTiles allows.
    QSqlQuery query(db);
    const QStringList schema = {
        // Small pages waste less around tiles of one or two kilobytes.
        QStringLiteral("PRAGMA page_size = 1024"),
        QStringLiteral("CREATE TABLE metadata (name text, value text)"),
        QStringLiteral("CREATE TABLE images (tile_id integer PRIMARY KEY, tile_data blob)"),
        QStringLiteral("CREATE TABLE map (zoom_level integer, tile_column integer, "
                       "tile_row integer, tile_id integer)"),
        QStringLiteral("CREATE UNIQUE INDEX map_index ON map (zoom_level, tile_column, tile_row)"),
        QStringLiteral("CREATE VIEW tiles AS SELECT zoom_level, tile_column, tile_row, tile_data "
                       "FROM map JOIN images ON images.tile_id = map.tile_id"),
    };
    db.transaction();
    for (const QString &statement : schema) {
        if (!query.exec(statement)) {
            err << "editor2-sampletiles: " << query.lastError().text() << '\n';
            return false;
        }
    }
    const QRectF area = map.area;
    const QList<QPair<QString, QString>> metadata = {
        {QStringLiteral("name"), QStringLiteral("editor2 sample city")},
        {QStringLiteral("format"), QStringLiteral("png")},
        {QStringLiteral("type"), QStringLiteral("baselayer")},
        {QStringLiteral("version"), QStringLiteral("1")},
        {QStringLiteral("description"),
         QStringLiteral("Made-up streets around the sample project's controllers")},
        {QStringLiteral("attribution"), QString::fromLatin1(Attribution)},
        {QStringLiteral("minzoom"), QString::number(zoomMin)},
        {QStringLiteral("maxzoom"), QString::number(zoomMax)},
        {QStringLiteral("bounds"), QStringLiteral("%1,%2,%3,%4")
                                       .arg(area.left())
                                       .arg(area.top())
                                       .arg(area.right())
                                       .arg(area.bottom())},
    };
    query.prepare(QStringLiteral("INSERT INTO metadata VALUES (?, ?)"));
    for (const auto &entry : metadata) {
        query.addBindValue(entry.first);
        query.addBindValue(entry.second);
        query.exec();
    }

    QHash<QByteArray, int> images;
    QSqlQuery addImage(db), addTile(db);
    addImage.prepare(QStringLiteral("INSERT INTO images VALUES (?, ?)"));
    addTile.prepare(QStringLiteral("INSERT INTO map VALUES (?, ?, ?, ?)"));
    int tiles = 0;
    for (int zoom = zoomMin; zoom <= zoomMax; ++zoom) {
        const TilePainter painter(map, zoom);
        for (const TileMath::TileId &tile : covering(area, zoom)) {
            const QByteArray data = png(painter.paint(tile));
            int id = images.value(data, -1);
            if (id < 0) {
                id = images.size();
                images.insert(data, id);
                addImage.addBindValue(id);
                addImage.addBindValue(data);
                addImage.exec();
            }
            addTile.addBindValue(tile.zoom);
            addTile.addBindValue(tile.x);
            addTile.addBindValue(TileMath::mbtilesRow(tile));
            addTile.addBindValue(id);
            if (!addTile.exec()) {
                err << "editor2-sampletiles: " << addTile.lastError().text() << '\n';
                return false;
            }
            ++tiles;
        }
    }
    db.commit();
    query.exec(QStringLiteral("VACUUM"));
    db.close();
    QTextStream(stdout) << "editor2-sampletiles: " << tiles << " tiles (" << images.size()
                        << " images), zoom " << zoomMin << " to " << zoomMax << ", in " << fileName
                        << '\n';
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Text needs a platform; this tool has no window to show, and a build
    // has no session with a runtime folder.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "Usage: editor2-sampletiles FILE.mbtiles\n";
        return 2;
    }
    bool ok = false;
    {
        ok = run(arguments.at(1), err);
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return ok ? 0 : 1;
}
