#pragma once

#include <QGraphicsView>
#include <QPointF>
#include <QTimer>

#include <memory>

class QNetworkAccessManager;
class TileSource;

namespace Arvel {
class Light;
struct MapSource;
} // namespace Arvel

// The map: a graphics view on a scene whose coordinates are geographic, x the
// longitude and y the latitude in degrees, north up, at a zoom level that
// stays within zoomMin..zoomMax (and at most 23). It shows the tiles of the chosen map source
// that are in view, over a grid of degrees where a tile is missing. Every
// mouse release reports its scene point through mouseRelease().
class OsmView : public QGraphicsView
{
    Q_OBJECT
    Q_PROPERTY(int zoomMin READ zoomMin WRITE setZoomMin)
    Q_PROPERTY(int zoomMax READ zoomMax WRITE setZoomMax)
    Q_PROPERTY(double zoomF READ zoomF WRITE setZoomF NOTIFY zoomChanged)

public:
    explicit OsmView(QGraphicsScene *scene, QWidget *parent = nullptr);
    ~OsmView() override;

    int zoomMin() const { return m_zoomMin; }
    void setZoomMin(int zoom);
    int zoomMax() const { return m_zoomMax; }
    void setZoomMax(int zoom);
    double zoomF() const { return m_zoom; }
    void setZoomF(double zoom);

    // Shows `center` (longitude, latitude) at the given zoom.
    void showPoint(const QPointF &center, double zoom);
    QPointF visibleCenter() const;
    // Zoom and centre so that every item of the scene fits, within the limits.
    void fitItems();

    // The map source whose tiles are shown; a relative database path is
    // taken from `baseDir`. Choosing the source shown already keeps its tiles
    // and asks again for those that failed or were refused.
    void setMapSource(const Arvel::MapSource &source, const QString &baseDir);
    QString sourceName() const;
    TileSource *tileSource() const { return m_tiles.get(); }
    // The tile server's answers are kept in this folder; by default the
    // user's cache folder.
    void setTileCacheFolder(const QString &folder);

public slots:
    void zoomIn();
    void zoomOut();

signals:
    void mouseRelease(QPointF point);
    void zoomChanged(double zoom);
    // A double click on a controller's marker.
    void lightActivated(Arvel::Light *light);
    void pointerMoved(QPointF point);
    // A map source's failure, once for its database and once for its server.
    void sourceProblem(const QString &message);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void zoomRange(double *low, double *high) const;
    void applyZoom();
    double gridStep() const;
    int tileZoom() const;
    QRectF visibleArea() const;
    void drawTiles(QPainter *painter);
    void requestTiles();
    QNetworkAccessManager *network();

    int m_zoomMin = 3;
    int m_zoomMax = 19;
    double m_zoom = 14.0;
    // Degrees of latitude are drawn longer than degrees of longitude, by
    // 1 / cos(latitude) as on a Mercator map, taken at the area shown.
    double m_latitudeStretch = 1.0;
    QString m_sourceName;
    // What the tiles were made from: the same choice again keeps them.
    QStringList m_sourceKey;
    std::unique_ptr<TileSource> m_tiles;
    QNetworkAccessManager *m_network = nullptr;
    QString m_cacheFolder;
    // Scrolling and zooming ask for tiles once the view has settled.
    QTimer m_tileRequest;
};
