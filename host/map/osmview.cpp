#include "osmview.h"

#include "coordinatetext.h"
#include "lightmarker.h"
#include "project.h"
#include "tilemath.h"
#include "tilesource.h"

#include <QDir>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>
#include <QtMath>
#include <QtNumeric>

namespace {

// Pixels per degree of longitude at a zoom level, as tile maps count them.
double pixelsPerDegree(double zoom)
{
    return 256.0 * std::pow(2.0, zoom) / 360.0;
}

double latitudeStretch(double latitude)
{
    return qBound(1.0, 1.0 / std::cos(qDegreesToRadians(latitude)), 6.0);
}

// 256 * 2^23 pixels around the world is as much as QGraphicsView's int
// scroll bars hold.
const int MaxViewZoom = 23;

const qint64 DiskCacheBytes = 200 * 1024 * 1024;

// Texts over the map stay readable over any tile.
void drawLabel(QPainter *painter, const QRect &area, int flags, const QString &text)
{
    const QRect box = painter->boundingRect(area, flags, text).adjusted(-2, 0, 2, 0);
    painter->fillRect(box, QColor(255, 255, 255, 170));
    painter->drawText(area, flags, text);
}

// The size of a label's box: its text and a margin on each side.
QSize labelSize(const QPainter *painter, const QString &text)
{
    const QFontMetrics metrics = painter->fontMetrics();
    return QSize(metrics.horizontalAdvance(text) + 4, metrics.height());
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
    m_tileRequest.setSingleShot(true);
    m_tileRequest.setInterval(0);
    connect(&m_tileRequest, &QTimer::timeout, this, &OsmView::requestTiles);
    applyZoom();
}

OsmView::~OsmView() = default;

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
    double low, high;
    zoomRange(&low, &high);
    zoom = qBound(low, zoom, high);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    const QPointF center = visibleCenter();
    m_latitudeStretch = latitudeStretch(center.y());
    m_zoom = zoom;
    applyZoom();
    centerOn(center);
    emit zoomChanged(m_zoom);
}

void OsmView::zoomRange(double *low, double *high) const
{
    // Limits stored the wrong way round still leave one usable level. Past
    // MaxViewZoom the world is wider than a view's scroll range can count.
    *low = qMin(qMin(m_zoomMin, m_zoomMax), MaxViewZoom);
    *high = qMin(qMax(m_zoomMin, m_zoomMax), MaxViewZoom);
}

void OsmView::showPoint(const QPointF &center, double zoom)
{
    m_latitudeStretch = latitudeStretch(center.y());
    double low, high;
    zoomRange(&low, &high);
    // A preset without a usable zoom keeps the current one.
    m_zoom = qBound(low, qIsFinite(zoom) ? zoom : m_zoom, high);
    applyZoom();
    centerOn(center);
    emit zoomChanged(m_zoom);
}

void OsmView::setMapSource(const Arvel::MapSource &source, const QString &baseDir)
{
    const QStringList key{source.name, source.dbFile, source.tileServer, baseDir};
    if (key == m_sourceKey) {
        if (m_tiles) {
            m_tiles->forgetFailures();
            m_tileRequest.start();
        }
        return;
    }
    m_sourceKey = key;
    m_sourceName = source.name;
    // The old source goes first: its requests are aborted, its file closed.
    m_tiles.reset();
    if (!source.dbFile.trimmed().isEmpty() || !source.tileServer.trimmed().isEmpty()) {
        m_tiles = std::make_unique<TileSource>(source, baseDir, network());
        connect(m_tiles.get(), &TileSource::tileReady, viewport(), qOverload<>(&QWidget::update));
        connect(m_tiles.get(), &TileSource::problem, this, &OsmView::sourceProblem);
        m_tileRequest.start();
    }
    viewport()->update();
}

QString OsmView::sourceName() const
{
    return m_sourceName;
}

void OsmView::setTileCacheFolder(const QString &folder)
{
    m_cacheFolder = folder;
    if (m_network) {
        if (auto *cache = qobject_cast<QNetworkDiskCache *>(m_network->cache()))
            cache->setCacheDirectory(folder);
    }
}

QNetworkAccessManager *OsmView::network()
{
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        auto *cache = new QNetworkDiskCache(m_network);
        cache->setCacheDirectory(m_cacheFolder.isEmpty() ? QStandardPaths::writableLocation(
                                                               QStandardPaths::CacheLocation)
                                                               + QStringLiteral("/tiles")
                                                         : m_cacheFolder);
        cache->setMaximumCacheSize(DiskCacheBytes);
        m_network->setCache(cache);
    }
    return m_network;
}

int OsmView::tileZoom() const
{
    return qBound(0, qRound(m_zoom), TileMath::MaxZoom);
}

QRectF OsmView::visibleArea() const
{
    return mapToScene(viewport()->rect()).boundingRect();
}

void OsmView::requestTiles()
{
    if (m_tiles)
        m_tiles->setWanted(TileMath::covering(visibleArea(), tileZoom()));
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
    const double stretch = latitudeStretch(area.center().y());
    double low, zoom;
    zoomRange(&low, &zoom);
    while (zoom > low) {
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
    m_tileRequest.start();
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
    drawTiles(painter);
}

// In viewport pixels, each tile from its corners' places: neighbours share
// their edges, and a tile of 256 pixels is copied, not scaled.
void OsmView::drawTiles(QPainter *painter)
{
    if (!m_tiles)
        return;
    const QTransform toViewport = viewportTransform();
    const QVector<TileMath::TileId> tiles = TileMath::covering(visibleArea(), tileZoom());
    painter->save();
    painter->resetTransform();
    for (const TileMath::TileId &tile : tiles) {
        const QImage image = m_tiles->image(tile);
        if (image.isNull())
            continue;
        const QRectF bounds = TileMath::bounds(tile);
        const QPointF northWest = toViewport.map(QPointF(bounds.left(), bounds.bottom()));
        const QPointF southEast = toViewport.map(QPointF(bounds.right(), bounds.top()));
        const QPoint topLeft(qRound(northWest.x()), qRound(northWest.y()));
        const QPoint bottomRight(qRound(southEast.x()), qRound(southEast.y()));
        painter->drawImage(QRect(topLeft, bottomRight - QPoint(1, 1)), image);
    }
    painter->restore();
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
    // Longitudes along the top, latitudes down the left side between the
    // longitudes and the corner texts, each label whole or not at all.
    const int width = viewport()->width();
    const int top = labelSize(painter, QStringLiteral("0")).height() + 2;
    const int bottom = viewport()->height() - top - 4;
    for (double x = std::floor(visible.left() / step) * step; x <= visible.right(); x += step) {
        const QString text = CoordinateText::longitude(x, step);
        const QSize size = labelSize(painter, text);
        const int px = mapFromScene(QPointF(x, visible.center().y())).x();
        const int left =
            CoordinateText::labelStart(px, size.width(), width, CoordinateText::Side::After);
        if (left >= 0)
            drawLabel(painter, QRect(QPoint(left + 2, 1), size), Qt::AlignLeft | Qt::AlignTop,
                      text);
    }
    for (double y = std::floor(visible.top() / step) * step; y <= visible.bottom(); y += step) {
        const QString text = CoordinateText::latitude(y, step);
        const QSize size = labelSize(painter, text);
        const int py = mapFromScene(QPointF(visible.center().x(), y)).y();
        const int above = CoordinateText::labelStart(py - top, size.height(), bottom - top,
                                                     CoordinateText::Side::Before);
        if (above >= 0)
            drawLabel(painter, QRect(QPoint(5, top + above), size), Qt::AlignLeft | Qt::AlignTop,
                      text);
    }
    const QRect corners = viewport()->rect().adjusted(6, 0, -6, -4);
    drawLabel(painter, corners, Qt::AlignRight | Qt::AlignBottom, tr("zoom %1").arg(m_zoom));
    if (!m_sourceName.isEmpty()) {
        const QString attribution = m_tiles ? m_tiles->attribution() : QString();
        drawLabel(painter, corners.adjusted(0, 0, -80, 0), Qt::AlignLeft | Qt::AlignBottom,
                  attribution.isEmpty() ? tr("map: %1").arg(m_sourceName)
                                        : tr("map: %1 (%2)").arg(m_sourceName, attribution));
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

void OsmView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    m_tileRequest.start();
}

void OsmView::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    m_tileRequest.start();
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
