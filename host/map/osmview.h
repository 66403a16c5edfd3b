#pragma once

#include <QGraphicsView>
#include <QPointF>

namespace Arvel {
class Light;
}

// The map: a graphics view on a scene whose coordinates are geographic, x the
// longitude and y the latitude in decimal degrees, north up. The zoom level
// follows the tile-map convention (256 * 2^zoom pixels around the world) and
// stays within zoomMin..zoomMax, which apply as soon as they change. The
// name of the chosen map source is shown in a corner; no tiles are fetched,
// the map is drawn as a grid of degrees. Every mouse release reports its
// scene point through mouseRelease(), which placement and picking modes
// listen to.
class OsmView : public QGraphicsView
{
    Q_OBJECT
    Q_PROPERTY(int zoomMin READ zoomMin WRITE setZoomMin)
    Q_PROPERTY(int zoomMax READ zoomMax WRITE setZoomMax)
    Q_PROPERTY(double zoomF READ zoomF WRITE setZoomF NOTIFY zoomChanged)

public:
    explicit OsmView(QGraphicsScene *scene, QWidget *parent = nullptr);

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

    QString sourceName() const { return m_sourceName; }
    void setSourceName(const QString &name);

public slots:
    void zoomIn();
    void zoomOut();

signals:
    void mouseRelease(QPointF point);
    void zoomChanged(double zoom);
    // A double click on a controller's marker.
    void lightActivated(Arvel::Light *light);
    void pointerMoved(QPointF point);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void applyZoom();
    double gridStep() const;

    int m_zoomMin = 3;
    int m_zoomMax = 19;
    double m_zoom = 14.0;
    // Degrees of latitude are drawn longer than degrees of longitude, by
    // 1 / cos(latitude) as on a Mercator map, taken at the area shown.
    double m_latitudeStretch = 1.0;
    QString m_sourceName;
};
