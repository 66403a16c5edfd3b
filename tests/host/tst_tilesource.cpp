// Tiles on the host's map: from an MBTiles file first and from a tile server
// on 127.0.0.1 for the rest, with every fault reported once and none drawn.

#include "mbtilesfile.h"
#include "osmview.h"
#include "project.h"
#include "sampleproject.h"
#include "tiledownloader.h"
#include "tilesource.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QNetworkDiskCache>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using TileMath::TileId;

namespace {

QByteArray png(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

QByteArray png(const QColor &color)
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(color);
    return png(image);
}

// A PNG of a few kilobytes that declares 4096 x 4096 pixels.
QByteArray bomb()
{
    static const QByteArray data = [] {
        QImage image(4096, 4096, QImage::Format_Mono);
        image.fill(0);
        return png(image);
    }();
    return data;
}

// An MBTiles file whose tiles are one colour each; `rows` are stored as
// MBTiles counts them, from the south.
bool writeMbTiles(const QString &fileName, const QList<TileId> &tiles, const QColor &color)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), fileName);
        db.setDatabaseName(fileName);
        QSqlQuery query(db);
        ok = db.open()
             && query.exec(QStringLiteral("CREATE TABLE tiles (zoom_level integer, tile_column "
                                          "integer, tile_row integer, tile_data blob)"))
             && query.exec(QStringLiteral("CREATE TABLE metadata (name text, value text)"))
             && query.exec(QStringLiteral("INSERT INTO metadata VALUES ('attribution', "
                                          "'<a href=\"x\">&copy; Test tiles</a>')"))
             && query.prepare(QStringLiteral("INSERT INTO tiles VALUES (?, ?, ?, ?)"));
        for (const TileId &tile : tiles) {
            query.addBindValue(tile.zoom);
            query.addBindValue(tile.x);
            query.addBindValue(TileMath::mbtilesRow(tile));
            query.addBindValue(png(color));
            ok = ok && query.exec();
        }
    }
    QSqlDatabase::removeDatabase(fileName);
    return ok;
}

// A tile server for the test: /<colour>/z/x/y.png answers a tile of that
// colour; /400/, /404/ and /500/ answer those statuses, /broken/ bytes that
// are no image, /slow/ a tile after 150 ms, /hold/ nothing at all. Faults
// that would cost memory or time: /bomb/ answers a PNG of 4096 pixels a side,
// /declared/ declares 2 GB, /endless/ sends a chunked body without end,
// /compressed/ 8 MB of zeros deflated whatever was asked, /trickle/ a byte
// every 50 ms; the answers of those could be cached.
class TileServer : public QObject
{
public:
    TileServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString url(const QString &kind) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2/{z}/{x}/{y}.png")
            .arg(m_server.serverPort())
            .arg(kind);
    }
    QStringList paths() const { return m_paths; }
    // Requests of /hold/ whose connection the client still keeps open.
    int held() const
    {
        return int(std::count_if(m_held.cbegin(), m_held.cend(), [](const QPointer<QTcpSocket> &s) {
            return s && s->state() == QAbstractSocket::ConnectedState;
        }));
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        int end;
        while ((end = buffer.indexOf("\r\n\r\n")) >= 0) {
            const QString path = QString::fromLatin1(buffer.left(end).split(' ').value(1));
            buffer.remove(0, end + 4);
            m_paths.append(path);
            const QString kind = path.section(QLatin1Char('/'), 1, 1);
            if (kind == QLatin1String("hold"))
                m_held.append(socket);
            else if (kind == QLatin1String("slow"))
                QTimer::singleShot(150, socket, [socket] { answer(socket, 200, png(Qt::green)); });
            else if (kind.toInt() >= 400)
                answer(socket, kind.toInt(), "no");
            else if (kind == QLatin1String("broken"))
                answer(socket, 200, "\x89PNG\r\n\x1a\n broken");
            else if (kind == QLatin1String("bomb"))
                answer(socket, 200, bomb(), Cacheable);
            else if (kind == QLatin1String("declared"))
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n\r\n");
            else if (kind == QLatin1String("endless"))
                pour(socket, "Transfer-Encoding: chunked\r\n" + Cacheable,
                     "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n", 0);
            else if (kind == QLatin1String("compressed"))
                answer(socket, 200, Deflated, "Content-Encoding: deflate\r\n" + Cacheable);
            else if (kind == QLatin1String("trickle"))
                pour(socket, "Content-Length: 1000\r\n", "x", 50);
            else
                answer(socket, 200, png(QColor(kind)));
        }
    }

    static void answer(QTcpSocket *socket, int status, const QByteArray &body,
                       const QByteArray &headers = "Cache-Control: no-store\r\n")
    {
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: image/png\r\n"
                      + headers + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
                      + body);
    }

    // A body of `piece` after `piece`, every `ms`, while the client listens.
    static void pour(QTcpSocket *socket, const QByteArray &headers, const QByteArray &piece, int ms)
    {
        socket->write("HTTP/1.1 200 OK\r\n" + headers + "\r\n");
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [socket, timer, piece] {
            if (socket->state() != QAbstractSocket::ConnectedState)
                timer->stop();
            else if (socket->bytesToWrite() < (1 << 20))
                socket->write(piece);
        });
        timer->start(ms);
    }

    static inline const QByteArray Cacheable = "Cache-Control: max-age=600\r\n";
    const QByteArray Deflated = qCompress(QByteArray(8 << 20, 0), 9).mid(4);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<QPointer<QTcpSocket>> m_held;
    QStringList m_paths;
};

QVector<TileId> row(int count)
{
    QVector<TileId> tiles;
    for (int x = 0; x < count; ++x)
        tiles.append(TileId{15, 19800 + x, 10243});
    return tiles;
}

QColor centreColor(OsmView &view)
{
    return view.viewport()->grab().toImage().pixelColor(view.viewport()->rect().center());
}

} // namespace

class tst_TileSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void databaseComesFirst();
    void faultyDatabaseIsReportedOnce_data();
    void faultyDatabaseIsReportedOnce();
    void serverFaultIsReportedOnce_data();
    void serverFaultIsReportedOnce();
    void atMostSixRequestsAndTheRestGivenUp();
    void viewAsksOnlyForVisibleTilesAndSwitchesSource();
    void sampleProjectOpensOnItsTiles();
    void deepestZoomStillShowsThePoint();

private:
    QTemporaryDir m_dir;
    TileServer m_server;
};

void tst_TileSource::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY(!m_server.url(QString()).contains(QLatin1String(":0/")));
}

void tst_TileSource::databaseComesFirst()
{
    // The file holds the even tiles of the row, the server (in blue) the rest.
    const QVector<TileId> tiles = row(6);
    QList<TileId> stored;
    for (int i = 0; i < tiles.size(); i += 2)
        stored.append(tiles.at(i));
    QVERIFY(writeMbTiles(m_dir.filePath(QStringLiteral("first.mbtiles")), stored, Qt::red));

    QNetworkAccessManager network;
    TileSource source({QStringLiteral("Test"), QStringLiteral("first.mbtiles"),
                       m_server.url(QStringLiteral("blue"))},
                      m_dir.path(), &network);
    QSignalSpy problems(&source, &TileSource::problem);
    source.setWanted(tiles);
    QTRY_COMPARE(source.downloader()->inFlight(), 0);
    QTRY_VERIFY(!source.image(tiles.last()).isNull());

    for (int i = 0; i < tiles.size(); ++i)
        QCOMPARE(source.image(tiles.at(i)).pixelColor(8, 8),
                 i % 2 ? QColor(Qt::blue) : QColor(Qt::red));
    QCOMPARE(m_server.paths().filter(QStringLiteral("/blue/")).size(), 3);
    QCOMPARE(source.attribution(), QStringLiteral("© Test tiles"));
    QVERIFY(problems.isEmpty());
}

void tst_TileSource::faultyDatabaseIsReportedOnce_data()
{
    // The file as made: "none", "text", "tiles" or "truncated tiles".
    QTest::addColumn<QString>("file");
    // Run on the file through a connection kept open, making it hostile.
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("problem");
    // Whether the file is still read after the fault.
    QTest::addColumn<bool>("keptOpen");
    QTest::newRow("missing file") << "none" << QStringList() << QString() << false;
    QTest::newRow("text file") << "text" << QStringList() << QString() << false;
    QTest::newRow("no tiles table")
        << "tiles" << QStringList{"DROP TABLE tiles"} << QString() << false;
    QTest::newRow("truncated") << "truncated tiles" << QStringList() << QString() << false;
    QTest::newRow("locked by a writer")
        << "tiles" << QStringList{"PRAGMA locking_mode = EXCLUSIVE", "BEGIN EXCLUSIVE"} << QString()
        << false;

    const QString endless =
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                       "FROM n) SELECT %1 FROM n");
    QTest::newRow("tiles that are no images")
        << "tiles" << QStringList{"UPDATE tiles SET tile_data = 'no image'"} << "no images" << true;
    QTest::newRow("tiles of 4096 pixels a side")
        << "tiles"
        << QStringList{"UPDATE tiles SET tile_data = x'" + QString::fromLatin1(bomb().toHex())
                       + "'"}
        << "4096 × 4096 pixels" << true;
    QTest::newRow("tiles of 50 MB")
        << "tiles"
        << QStringList{"ALTER TABLE tiles RENAME TO stored",
                       "CREATE VIEW tiles AS SELECT zoom_level, tile_column, tile_row, "
                       "zeroblob(50000000) AS tile_data FROM stored"}
        << "more than 4 MB" << false;
    QTest::newRow("endless tiles view")
        << "tiles"
        // Columns of expressions: SQLite would find "i = 15 AND i = 19800" false at once.
        << QStringList{"DROP TABLE tiles",
                       "CREATE VIEW tiles AS "
                           + endless.arg("i % 1 AS zoom_level, i % 1 AS tile_column, "
                                         "i % 1 AS tile_row, x'00' AS tile_data")}
        << "within 1 s" << false;
    QTest::newRow("endless metadata view")
        << "tiles"
        << QStringList{"DROP TABLE metadata",
                       "CREATE VIEW metadata AS " + endless.arg("'x' || i AS name, i AS value")}
        << "within 1 s" << false;
}

void tst_TileSource::faultyDatabaseIsReportedOnce()
{
    QFETCH(QString, file);
    QFETCH(QStringList, statements);
    QFETCH(QString, problem);
    QFETCH(bool, keptOpen);

    const QString fileName = QLatin1String(QTest::currentDataTag()) + QLatin1String(".mbtiles");
    const QString path = m_dir.filePath(fileName);
    const QVector<TileId> tiles = row(6);
    QFile made(path);
    if (file == QLatin1String("text")) {
        QVERIFY(made.open(QIODevice::WriteOnly));
        made.write("not a database\n");
        made.close();
    } else if (file != QLatin1String("none"))
        QVERIFY(writeMbTiles(path, {tiles.cbegin(), tiles.cend()}, Qt::red));
    if (file == QLatin1String("truncated tiles"))
        QVERIFY(made.resize(4096));
    QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
    writer.setDatabaseName(path);
    QSqlQuery query(writer);
    for (const QString &statement : statements)
        QVERIFY2((writer.isOpen() || writer.open()) && query.exec(statement),
                 qPrintable(query.lastError().text()));

    {
        TileSource source({QStringLiteral("Faulty"), fileName, QString()}, m_dir.path(), nullptr);
        QSignalSpy problems(&source, &TileSource::problem);
        source.setWanted(tiles);
        source.setWanted(tiles);
        QTRY_COMPARE(problems.size(), 1);
        const QString message = problems.first().first().toString();
        QVERIFY2(message.startsWith(QLatin1String("Map source Faulty: "))
                     && message.contains(problem),
                 qPrintable(message));
        for (const TileId &tile : tiles)
            QVERIFY(source.image(tile).isNull());
        QTest::qWait(0);
        QCOMPARE(problems.size(), 1);

        // A database past a bound of time or size is not asked again.
        MbTilesFile reader(path);
        QByteArray data;
        for (const TileId &tile : tiles)
            reader.read(tile, &data);
        QCOMPARE(reader.isOpen(), keptOpen);
    }
    query = QSqlQuery();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase(path);
}

void tst_TileSource::serverFaultIsReportedOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("problem");
    // Whether the fault may pass, so that the tiles are asked for again after a pause.
    QTest::addColumn<bool>("retried");

    QTest::newRow("400") << "400" << 5000 << "answers 400" << true;
    QTest::newRow("404") << "404" << 5000 << "answers 404" << true;
    QTest::newRow("500") << "500" << 5000 << "answers 500" << true;
    QTest::newRow("broken image") << "broken" << 5000 << "no images" << false;
    QTest::newRow("no answer in time") << "hold" << 200 << "does not answer" << true;
    QTest::newRow("closed port") << "closed" << 5000 << "cannot be reached" << true;
    QTest::newRow("unknown placeholder") << "{s}" << 5000 << "{s}" << false;
    QTest::newRow("file template") << "file" << 5000 << "not an http or https address" << false;
    QTest::newRow("image of 4096 pixels a side") << "bomb" << 5000 << "4096 × 4096 pixels" << false;
    QTest::newRow("2 GB declared") << "declared" << 5000 << "more than 4 MB" << false;
    QTest::newRow("chunked body without end") << "endless" << 5000 << "more than 4 MB" << false;
    // Inflated, it would be counted only once it is all in memory.
    QTest::newRow("compressed body left compressed")
        << "compressed" << 5000 << "no images" << false;
    QTest::newRow("a byte now and then") << "trickle" << 300 << "does not answer" << true;
    // A slow answer is no fault: the tiles come when they come.
    QTest::newRow("slow answer") << "slow" << 5000 << QString() << false;
}

void tst_TileSource::serverFaultIsReportedOnce()
{
    QFETCH(QString, kind);
    QFETCH(int, timeoutMs);
    QFETCH(QString, problem);
    QFETCH(bool, retried);

    QString url = m_server.url(kind);
    if (kind == QLatin1String("closed")) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(closed.serverPort());
    } else if (kind == QLatin1String("file")) {
        url = QUrl::fromLocalFile(m_dir.path()).toString() + QLatin1String("/{z}/{x}/{y}");
    }
    QNetworkAccessManager network;
    auto *cache = new QNetworkDiskCache(&network);
    cache->setCacheDirectory(m_dir.filePath(QLatin1String(QTest::currentDataTag())));
    network.setCache(cache);
    TileSource source({QStringLiteral("Server"), QString(), url}, m_dir.path(), &network);
    if (source.downloader())
        source.downloader()->setTimeout(timeoutMs);
    QSignalSpy problems(&source, &TileSource::problem);
    QSignalSpy ready(&source, &TileSource::tileReady);
    const QVector<TileId> tiles = row(9);
    source.setWanted(tiles);
    QTRY_VERIFY(!source.downloader()
                || (source.downloader()->inFlight() == 0 && source.downloader()->queued() == 0));
    // Asked again, known failures are not asked for once more.
    source.setWanted(tiles);
    QTest::qWait(0);

    if (problem.isEmpty()) {
        QVERIFY(problems.isEmpty());
        QCOMPARE(ready.size(), tiles.size());
        return;
    }
    QTRY_COMPARE(problems.size(), 1);
    QVERIFY2(problems.first().first().toString().contains(problem),
             qPrintable(problems.first().first().toString()));
    QVERIFY(ready.isEmpty());
    QVERIFY(!source.downloader() || source.downloader()->inFlight() == 0);
    for (const TileId &tile : tiles)
        QVERIFY(!cache->metaData(TileTemplate(url).url(tile)).isValid());

    // Once the pause is over, a fault that may pass is tried again when the
    // tiles are wanted, and by itself while they stay in view; not reported again.
    TileDownloader *downloader = source.downloader();
    source.setRetryPause(0);
    source.setWanted(tiles);
    QCOMPARE(downloader && downloader->inFlight() + downloader->queued() == tiles.size(), retried);
    if (retried) {
        QSignalSpy failures(downloader, &TileDownloader::failed);
        QTRY_VERIFY(failures.size() > tiles.size());
    }
    source.setRetryPause(TileSource::RetryPauseMs);
    QTRY_VERIFY(!downloader || (downloader->inFlight() == 0 && downloader->queued() == 0));
    QCOMPARE(problems.size(), 1);
    // Chosen again, the source asks again.
    source.forgetFailures();
    source.setWanted(tiles);
    QTRY_COMPARE(problems.size(), 2);
}

void tst_TileSource::atMostSixRequestsAndTheRestGivenUp()
{
    QNetworkAccessManager network;
    auto source = std::make_unique<TileSource>(
        Arvel::MapSource{QStringLiteral("Held"), QString(), m_server.url(QStringLiteral("hold"))},
        m_dir.path(), &network);
    const QVector<TileId> tiles = row(20);
    source->setWanted(tiles);
    TileDownloader *downloader = source->downloader();
    QCOMPARE(downloader->inFlight(), TileDownloader::MaxInFlight);
    QCOMPARE(downloader->queued(), tiles.size() - TileDownloader::MaxInFlight);
    QTRY_COMPARE(m_server.held(), TileDownloader::MaxInFlight);

    // Scrolled: two of the tiles asked for stay in view, and one new one.
    source->setWanted({tiles.at(0), tiles.at(1), TileId{15, 1, 1}});
    QCOMPARE(downloader->inFlight(), 3);
    QCOMPARE(downloader->queued(), 0);
    QTRY_COMPARE(m_server.held(), 3);

    // A switch of source gives up everything.
    source.reset();
    QTRY_COMPARE(m_server.held(), 0);
}

void tst_TileSource::viewAsksOnlyForVisibleTilesAndSwitchesSource()
{
    QGraphicsScene scene;
    OsmView view(&scene);
    view.setTileCacheFolder(m_dir.filePath(QStringLiteral("cache")));
    view.resize(700, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setZoomMax(18);
    view.showPoint(QPointF(37.6175, 55.7539), 15);
    const int before = m_server.paths().size();
    view.setMapSource({QStringLiteral("Olive"), QString(), m_server.url(QStringLiteral("olive"))},
                      m_dir.path());
    const QRectF visible = view.mapToScene(view.viewport()->rect()).boundingRect();
    const QVector<TileId> expected = TileMath::covering(visible, 15);
    QTRY_COMPARE(m_server.paths().size() - before, expected.size());
    QStringList asked = m_server.paths().mid(before);
    QStringList wanted;
    for (const TileId &tile : expected)
        wanted << QStringLiteral("/olive/%1/%2/%3.png").arg(tile.zoom).arg(tile.x).arg(tile.y);
    asked.sort();
    wanted.sort();
    QCOMPARE(asked, wanted);
    QTRY_COMPARE(centreColor(view), QColor(QStringLiteral("olive")));

    view.setMapSource({QStringLiteral("Teal"), QString(), m_server.url(QStringLiteral("teal"))},
                      m_dir.path());
    QCOMPARE(view.sourceName(), QStringLiteral("Teal"));
    QTRY_COMPARE(centreColor(view), QColor(QStringLiteral("teal")));
}

void tst_TileSource::sampleProjectOpensOnItsTiles()
{
    Q_INIT_RESOURCE(sampletiles);
    QTemporaryDir folder;
    const std::unique_ptr<Arvel::Project> project(Arvel::createSampleProject(folder.path()));
    const QList<Arvel::MapSource> sources = project->mapSources();
    QVERIFY(!sources.isEmpty());
    QVERIFY(QFileInfo(sources.first().dbFile).isRelative());
    bool ok = false;
    const int zoomMin = project->zoomMin(&ok);
    const int zoomMax = project->zoomMax(&ok);

    TileSource source(sources.first(), project->baseDir(), nullptr);
    QSignalSpy problems(&source, &TileSource::problem);
    for (const Arvel::MapPreset &preset : project->mapPresets()) {
        for (int zoom : {zoomMin, int(preset.zoom), zoomMax}) {
            const TileId tile = TileMath::tileAt(preset.center, zoom);
            source.setWanted({tile});
            QVERIFY2(!source.image(tile).isNull(),
                     qPrintable(QStringLiteral("%1 at %2").arg(preset.name).arg(zoom)));
        }
    }
    QTest::qWait(0);
    QVERIFY(problems.isEmpty());
    QVERIFY(QFileInfo(folder.filePath(sources.first().dbFile)).size() < 2 * 1024 * 1024);
}

void tst_TileSource::deepestZoomStillShowsThePoint()
{
    // The map dialogs allow zoom 25, where the world no longer fits a view's
    // scroll range: the view stops short of it instead of showing elsewhere.
    QGraphicsScene scene;
    OsmView view(&scene);
    view.resize(400, 300);
    view.setZoomMax(25);
    const QPointF point(37.6175, 55.7539);
    view.showPoint(point, 25);
    QVERIFY((view.visibleCenter() - point).manhattanLength() < 1e-4);
    QVERIFY(view.zoomF() >= 22);
}

QTEST_MAIN(tst_TileSource)

#include "tst_tilesource.moc"
