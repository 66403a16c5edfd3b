#include "tilemath.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace TileMath {

namespace {

double worldSize(int zoom)
{
    return double(TileSize) * std::ldexp(1.0, zoom);
}

int tilesAcross(int zoom)
{
    return 1 << zoom;
}

} // namespace

quint64 key(const TileId &tile)
{
    // 5 bits of zoom, 29 of x and of y: room for every tile up to MaxZoom.
    return (quint64(quint32(tile.zoom) & 0x1f) << 58) | (quint64(quint32(tile.x)) << 29)
           | quint64(quint32(tile.y));
}

bool isValid(const TileId &tile)
{
    if (tile.zoom < 0 || tile.zoom > MaxZoom)
        return false;
    const int across = tilesAcross(tile.zoom);
    return tile.x >= 0 && tile.x < across && tile.y >= 0 && tile.y < across;
}

QPointF pixelAt(const QPointF &lonLat, int zoom)
{
    const double size = worldSize(zoom);
    const double latitude = qDegreesToRadians(qBound(-MaxLatitude, lonLat.y(), MaxLatitude));
    const double x = (lonLat.x() + 180.0) / 360.0 * size;
    const double y =
        (1.0 - std::log(std::tan(latitude) + 1.0 / std::cos(latitude)) / M_PI) / 2.0 * size;
    // The limit latitude itself may land a hair outside the world.
    return QPointF(x, qBound(0.0, y, size));
}

QPointF pointAt(const QPointF &pixel, int zoom)
{
    const double size = worldSize(zoom);
    const double longitude = pixel.x() / size * 360.0 - 180.0;
    const double latitude = std::atan(std::sinh(M_PI * (1.0 - 2.0 * pixel.y() / size)));
    return QPointF(longitude, qRadiansToDegrees(latitude));
}

TileId tileAt(const QPointF &lonLat, int zoom)
{
    const QPointF pixel = pixelAt(lonLat, zoom);
    const int last = tilesAcross(zoom) - 1;
    return TileId{zoom, qBound(0, int(std::floor(pixel.x() / TileSize)), last),
                  qBound(0, int(std::floor(pixel.y() / TileSize)), last)};
}

QRectF bounds(const TileId &tile)
{
    const QPointF northWest = pointAt(QPointF(tile.x, tile.y) * TileSize, tile.zoom);
    const QPointF southEast = pointAt(QPointF(tile.x + 1, tile.y + 1) * TileSize, tile.zoom);
    return QRectF(QPointF(northWest.x(), southEast.y()), QPointF(southEast.x(), northWest.y()));
}

int mbtilesRow(const TileId &tile)
{
    return tilesAcross(tile.zoom) - 1 - tile.y;
}

QVector<TileId> covering(const QRectF &area, int zoom)
{
    const QRectF box = area.normalized();
    // The scene's y is the latitude: its larger edge is the north one.
    const TileId first = tileAt(QPointF(box.left(), box.bottom()), zoom);
    const TileId last = tileAt(QPointF(box.right(), box.top()), zoom);
    const qint64 count = qint64(last.x - first.x + 1) * (last.y - first.y + 1);
    // No view shows that many; an area this large is a mistake, not a request.
    if (count > MaxCovering)
        return {};
    const QPointF centre = pixelAt(box.center(), zoom) / TileSize;
    QVector<TileId> tiles;
    tiles.reserve(int(count));
    for (int y = first.y; y <= last.y; ++y) {
        for (int x = first.x; x <= last.x; ++x)
            tiles.append(TileId{zoom, x, y});
    }
    const auto distance = [centre](const TileId &tile) {
        const double dx = tile.x + 0.5 - centre.x();
        const double dy = tile.y + 0.5 - centre.y();
        return dx * dx + dy * dy;
    };
    std::stable_sort(tiles.begin(), tiles.end(), [&distance](const TileId &a, const TileId &b) {
        return distance(a) < distance(b);
    });
    return tiles;
}

} // namespace TileMath
