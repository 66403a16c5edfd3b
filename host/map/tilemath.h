#pragma once

#include <QMetaType>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QtGlobal>

// Web Mercator tiles of 256 pixels, as tile servers and MBTiles files count
// them: at zoom z the world is 2^z by 2^z tiles, x growing eastwards from
// 180°W and y southwards from the north edge (85.0511°N). Points are
// (longitude, latitude) in degrees, longitude first, as on the map's scene.
namespace TileMath {

constexpr int TileSize = 256;
// The most a tile may weigh, as sent or stored, and the longest side of its
// image: sources for dense screens send tiles of 512 pixels, and a tile of
// either size stays far below the bytes. Anything larger is no tile.
constexpr qint64 MaxTileBytes = 4 * 1024 * 1024;
constexpr int MaxTileSide = 2 * TileSize;
constexpr int MaxZoom = 25;
// The latitude at which the Mercator world becomes square.
constexpr double MaxLatitude = 85.0511287798066;

struct TileId
{
    int zoom = 0;
    int x = 0;
    int y = 0;

    bool operator==(const TileId &other) const
    {
        return zoom == other.zoom && x == other.x && y == other.y;
    }
    bool operator!=(const TileId &other) const { return !(*this == other); }
};

// One number per tile, for hashing and caches.
quint64 key(const TileId &tile);
// Whether the tile exists at its zoom (0 ... MaxZoom).
bool isValid(const TileId &tile);

// The world pixel of a point at `zoom`: (0, 0) is the north-west corner; the
// latitude is clamped to the Mercator limits first.
QPointF pixelAt(const QPointF &lonLat, int zoom);
// The point at a world pixel; the inverse of pixelAt().
QPointF pointAt(const QPointF &pixel, int zoom);
// The tile that holds the point, clamped to the world at that zoom.
TileId tileAt(const QPointF &lonLat, int zoom);
// The tile's corners: x from its west to its east edge in longitude, y from
// its south to its north edge in latitude (a scene rectangle).
QRectF bounds(const TileId &tile);
// The row of the tile in an MBTiles file, which counts rows from the south.
int mbtilesRow(const TileId &tile);

// The tiles at `zoom` that cover an area of the scene (longitude, latitude),
// nearest the area's centre first; none when they would be more than
// MaxCovering.
constexpr int MaxCovering = 16384;
QVector<TileId> covering(const QRectF &area, int zoom);

} // namespace TileMath

Q_DECLARE_TYPEINFO(TileMath::TileId, Q_PRIMITIVE_TYPE);
Q_DECLARE_METATYPE(TileMath::TileId)

inline uint qHash(const TileMath::TileId &tile, uint seed = 0)
{
    return ::qHash(TileMath::key(tile), seed);
}
