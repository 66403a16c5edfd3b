#include "osmview.h"

#include "lightmarker.h"

#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtMath>
#include <QtNumeric>

namespace {

// Pixels per degree of longitude at a zoom level, as tile maps count them.
double pixelsPerDegree(double zoom)
{
    return 256.0 * std::pow(2.0, zoom) / 360.0;
}

QString degreesText(double value)
{
    return QString::number(value, 'f', value == std::floor(value) ? 0 : 3);
}

} // namespace

OsmView::OsmView(QGraphicsScene *scene, QWidget *parent)
    : QGraphicsView(scene, parent)
{
    setObjectName(QStringLiteral("osmView"));
    scene->setSceneRect(QRectF(-180.0, -85.0, 360.0, 170.0));
    setRenderHint(QPainter::Antialiasing);
    setDragMode(ScrollHandDrag);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTransformationAnchor(AnchorViewCenter);
    // The grid labels sit at the viewport's edges; scrolled pixels would smear them.
    setViewportUpdateMode(FullViewportUpdate);
    setMouseTracking(true);
    applyZoom();
}

void OsmView::setZoomMin(int zoom)
{
    m_zoomMin = zoom;
    if (m_zoom < m_zoomMin)
        setZoomF(m_zoomMin);
}

void OsmView::setZoomMax(int zoom)
{
    m_zoomMax = zoom;
    if (m_zoom > m_zoomMax)
        setZoomF(m_zoomMax);
}

void OsmView::setZoomF(double zoom)
{
    if (!qIsFinite(zoom))
        return;
    // Limits stored the wrong way round still leave one usable level.
    const double low = qMin(m_zoomMin, m_zoomMax);
    const double high = qMax(m_zoomMin, m_zoomMax);
    zoom = qBound(low, zoom, high);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    const QPointF center = visibleCenter();
    m_zoom = zoom;
    applyZoom();
    centerOn(center);
    emit zoomChanged(m_zoom);
}

void OsmView::showPoint(const QPointF &center, double zoom)
{
    m_latitudeStretch = qBound(1.0, 1.0 / std::cos(qDegreesToRadians(center.y())), 6.0);
    const double low = qMin(m_zoomMin, m_zoomMax);
    const double high = qMax(m_zoomMin, m_zoomMax);
    // A preset without a usable zoom keeps the current one.
    m_zoom = qBound(low, qIsFinite(zoom) ? zoom : m_zoom, high);
    applyZoom();
    centerOn(center);
    emit zoomChanged(m_zoom);
}

void OsmView::setSourceName(const QString &name)
{
    m_sourceName = name;
    viewport()->update();
}

QPointF OsmView::visibleCenter() const
{
    return mapToScene(viewport()->rect().center());
}

void OsmView::fitItems()
{
    const QList<QGraphicsItem *> all = scene()->items();
    if (all.isEmpty()) {
        showPoint(QPointF(0, 0), m_zoomMin);
        return;
    }
    // Markers ignore the view's scale, so their positions tell the area, not
    // their rectangles.
    double left = all.first()->pos().x(), right = left;
    double top = all.first()->pos().y(), bottom = top;
    for (const QGraphicsItem *item : all) {
        left = qMin(left, item->pos().x());
        right = qMax(right, item->pos().x());
        top = qMin(top, item->pos().y());
        bottom = qMax(bottom, item->pos().y());
    }
    const QRectF area(QPointF(left, top), QPointF(right, bottom));
    const QSizeF pixels = QSizeF(viewport()->size()) * 0.8;
    const double stretch = qBound(1.0, 1.0 / std::cos(qDegreesToRadians(area.center().y())), 6.0);
    double zoom = qMax(m_zoomMin, m_zoomMax);
    while (zoom > qMin(m_zoomMin, m_zoomMax)) {
        const double ppd = pixelsPerDegree(zoom);
        if (area.width() * ppd <= pixels.width()
            && area.height() * ppd * stretch <= pixels.height())
            break;
        zoom -= 1.0;
    }
    showPoint(area.center(), zoom);
}

void OsmView::zoomIn()
{
    setZoomF(std::floor(m_zoom) + 1.0);
}

void OsmView::zoomOut()
{
    setZoomF(std::ceil(m_zoom) - 1.0);
}

void OsmView::applyZoom()
{
    const double ppd = pixelsPerDegree(m_zoom);
    // North up: latitude grows upwards, scene y downwards.
    setTransform(QTransform::fromScale(ppd, -ppd * m_latitudeStretch));
}

double OsmView::gridStep() const
{
    const double wanted = 120.0 / pixelsPerDegree(m_zoom);
    double step = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (step * factor >= wanted)
            return step * factor;
    }
    return step * 10.0;
}

void OsmView::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, QColor(242, 239, 233));
    const double step = gridStep();
    QPen pen(QColor(214, 208, 196));
    pen.setCosmetic(true);
    painter->setPen(pen);
    for (double x = std::floor(rect.left() / step) * step; x <= rect.right(); x += step)
        painter->drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
    for (double y = std::floor(rect.top() / step) * step; y <= rect.bottom(); y += step)
        painter->drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
}

void OsmView::drawForeground(QPainter *painter, const QRectF &)
{
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    const double step = gridStep();
    painter->save();
    painter->resetTransform();
    QFont font = painter->font();
    font.setPixelSize(10);
    painter->setFont(font);
    painter->setPen(QColor(140, 130, 115));
    for (double x = std::floor(visible.left() / step) * step; x <= visible.right(); x += step) {
        const int px = mapFromScene(QPointF(x, visible.center().y())).x();
        painter->drawText(px + 3, 12, degreesText(x) + QStringLiteral("°E"));
    }
    for (double y = std::floor(visible.top() / step) * step; y <= visible.bottom(); y += step) {
        const int py = mapFromScene(QPointF(visible.center().x(), y)).y();
        painter->drawText(3, py - 3, degreesText(y) + QStringLiteral("°N"));
    }
    painter->drawText(viewport()->rect().adjusted(0, 0, -6, -4), Qt::AlignRight | Qt::AlignBottom,
                      tr("zoom %1").arg(m_zoom));
    if (!m_sourceName.isEmpty()) {
        painter->drawText(viewport()->rect().adjusted(6, 0, 0, -4), Qt::AlignLeft | Qt::AlignBottom,
                          tr("map: %1").arg(m_sourceName));
    }
    painter->restore();
}

void OsmView::mouseReleaseEvent(QMouseEvent *event)
{
    QGraphicsView::mouseReleaseEvent(event);
    emit mouseRelease(mapToScene(event->pos()));
}

void OsmView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QList<QGraphicsItem *> hit = items(event->pos());
    for (QGraphicsItem *item : hit) {
        if (auto *marker = qgraphicsitem_cast<Arvel::LightMarker *>(item)) {
            if (marker->light()) {
                event->accept();
                emit lightActivated(marker->light());
                return;
            }
        }
    }
    QGraphicsView::mouseDoubleClickEvent(event);
}

void OsmView::mouseMoveEvent(QMouseEvent *event)
{
    QGraphicsView::mouseMoveEvent(event);
    emit pointerMoved(mapToScene(event->pos()));
}

void OsmView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        event->ignore();
        return;
    }
    // Keep the point under the mouse where it is.
    const QPoint mouse = event->position().toPoint();
    const QPointF before = mapToScene(mouse);
    setZoomF(std::round(m_zoom) + steps);
    const QPointF after = mapToScene(mouse);
    centerOn(visibleCenter() + (before - after));
    event->accept();
}
