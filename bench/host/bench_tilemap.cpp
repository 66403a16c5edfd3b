// The host's map on the sample's MBTiles file: a 1600 x 1000 view at zoom 15.
// Measures the first full view of a newly chosen source (database opened,
// tiles read and decoded, painted once), a repaint with every tile in
// memory, and a pan by 256 pixels, counting the tiles it loads. The bare
// work beside them: the same tiles read with one prepared SQLite query and
// decoded, and the same images drawn onto a 1600 x 1000 image.
//
// Times are the GUI thread's CPU time, medians over the runs. Each run times
// the map and the bare work in turn, and a ratio is the median of the runs'
// own ratios (Bench::Pairs); a run's repaint is the median of its five.
//
// Usage: bench_tilemap [runs]   (offscreen unless QT_QPA_PLATFORM is set)

#include "benchsupport.h"
#include "osmview.h"
#include "project.h"
#include "tilemath.h"
#include "tilesource.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QPainter>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdlib>
#include <vector>

namespace {

const QPointF Centre(37.6175, 55.7539);
constexpr int Zoom = 15;

struct Bare
{
    double read = 0;
    double paint = 0;
};

// The same tiles through bare Qt: one prepared query, decoded as the map
// keeps them, then drawn where they belong on an image of the view's size.
Bare bareWork(const QString &file, const QVector<TileMath::TileId> &tiles, const QSize &size)
{
    Bare bare;
    std::vector<QImage> images;
    double start = Bench::threadCpuMs();
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT tile_data FROM tiles WHERE zoom_level = ? AND "
                                     "tile_column = ? AND tile_row = ?"));
        for (const TileMath::TileId &tile : tiles) {
            query.bindValue(0, tile.zoom);
            query.bindValue(1, tile.x);
            query.bindValue(2, TileMath::mbtilesRow(tile));
            query.exec();
            if (query.next())
                images.push_back(QImage::fromData(query.value(0).toByteArray())
                                     .convertToFormat(QImage::Format_RGB32));
            query.finish();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
    bare.read = Bench::threadCpuMs() - start;

    // The form of the offscreen platform's backing store.
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white); // its pages touched before the clock starts
    start = Bench::threadCpuMs();
    {
        QPainter painter(&canvas);
        painter.fillRect(canvas.rect(), QColor(242, 239, 233));
        const int across = size.width() / TileMath::TileSize + 1;
        for (size_t i = 0; i < images.size(); ++i)
            painter.drawImage(QPoint(int(i) % across, int(i) / across) * TileMath::TileSize
                                  - QPoint(100, 60),
                              images[i]);
    }
    bare.paint = Bench::threadCpuMs() - start;
    return bare;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    Bench::quietOffscreenWarnings();
    Q_INIT_RESOURCE(sampletiles);
    const int runs = argc > 1 ? qMax(3, std::atoi(argv[1])) : 15;
    QTextStream out(stdout);

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("city.mbtiles"));
    if (!QFile::copy(QStringLiteral(":/sample/city.mbtiles"), file)) {
        out << "the sample tiles are missing\n";
        return 1;
    }

    QGraphicsScene scene;
    OsmView view(&scene);
    view.setZoomMax(18);
    view.resize(1600, 1000);
    view.show();
    QCoreApplication::processEvents();
    view.showPoint(Centre, Zoom);
    QCoreApplication::processEvents();
    const QSize viewport = view.viewport()->size();
    const QVector<TileMath::TileId> visible =
        TileMath::covering(view.mapToScene(view.viewport()->rect()).boundingRect(), Zoom);

    Bench::Pairs first, repaint; // against the bare read and the bare drawing
    std::vector<double> pan;
    int loaded = 0, panLoaded = 0, panExpected = 0;
    for (int run = 0; run < runs; ++run) {
        // A source of another name each run: a new connection, nothing in memory.
        const Arvel::MapSource source{QStringLiteral("Sample %1").arg(run), file, QString()};
        view.showPoint(Centre, Zoom);
        QCoreApplication::processEvents();
        int count = 0;
        double start = Bench::threadCpuMs();
        view.setMapSource(source, folder.path());
        QObject::connect(view.tileSource(), &TileSource::tileReady, [&count] { ++count; });
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        const double firstView = Bench::threadCpuMs() - start;
        loaded = count;
        // The tiles are drawn, not the grid under them.
        if (view.viewport()->grab().toImage().pixelColor(viewport.width() / 2,
                                                         viewport.height() / 2)
            == QColor(242, 239, 233)) {
            out << "the view shows no tiles\n";
            return 1;
        }

        std::vector<double> repaints;
        for (int i = 0; i < 5; ++i) {
            start = Bench::threadCpuMs();
            view.viewport()->repaint();
            repaints.push_back(Bench::threadCpuMs() - start);
        }

        const QRectF before = view.mapToScene(view.viewport()->rect()).boundingRect();
        count = 0;
        start = Bench::threadCpuMs();
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value() + 256);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        pan.push_back(Bench::threadCpuMs() - start);
        panLoaded = count;
        const QRectF after = view.mapToScene(view.viewport()->rect()).boundingRect();
        const QVector<TileMath::TileId> old = TileMath::covering(before, Zoom);
        panExpected = 0;
        for (const TileMath::TileId &tile : TileMath::covering(after, Zoom))
            panExpected += old.contains(tile) ? 0 : 1;

        const Bare bare = bareWork(file, visible, viewport);
        first.add(firstView, bare.read);
        repaint.add(Bench::median(repaints), bare.paint);
    }

    out << "host map, " << viewport.width() << " x " << viewport.height() << " at zoom " << Zoom
        << ", " << visible.size() << " tiles in view, medians of " << runs
        << " runs (thread CPU time); ratios are medians of the runs' paired ratios (middle half "
           "in brackets)\n";
    out << QString::asprintf("  first full view from MBTiles:  %7.2f ms (%d tiles loaded; goal < "
                             "100 ms); bare read and decode %7.2f ms: %s\n",
                             first.measured(), loaded, first.bare(), qPrintable(first.ratioText()));
    out << QString::asprintf("  repaint, every tile in memory: %7.2f ms (goal < 8 ms); bare "
                             "drawing %7.2f ms: %s\n",
                             repaint.measured(), repaint.bare(), qPrintable(repaint.ratioText()));
    out << QString::asprintf("  pan by 256 px:                 %7.2f ms, %d tiles loaded, %d newly "
                             "in view\n",
                             Bench::median(pan), panLoaded, panExpected);
    out.flush();
    return loaded == visible.size() && panLoaded == panExpected ? 0 : 1;
}
