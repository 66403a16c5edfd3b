// The host's map against a hostile tile server and hostile tile databases,
// at the sizes that once took the host to gigabytes: for each case, the peak
// memory of a process that asks a source of that kind for six tiles through
// the host's TileSource (with a disk cache of 200 MB, as the map has), what
// it reported, how long until every request ended, and what the disk cache
// kept. Each case runs in a process of its own, so that its peak is its own;
// the first asks for six good tiles: the bare cost of such a process. Each
// hostile case takes turns with a bare process, and its ratio is the median
// of the runs' paired ratios of peak memory (Bench::Pairs); the other figures
// are the medians, and the last run's report.
//
// Usage: bench_tilefaults [runs]       every case, one line each (3 runs)
//        bench_tilefaults CASE FOLDER  one case, with the payloads in FOLDER

#include "benchsupport.h"
#include "project.h"
#include "tiledownloader.h"
#include "tilemath.h"
#include "tilesource.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <vector>

namespace {

struct Case
{
    const char *name;
    // What the tile server answers ("good", "huge", "endless", "deflated",
    // "bomb"), or the tile database's file in the payload folder.
    const char *server;
    const char *database;
};

const Case Cases[] = {
    {"six good tiles (the bare process)", "good", nullptr},
    {"server: 2 GB body, declared", "huge", nullptr},
    {"server: chunked body without end", "endless", nullptr},
    {"server: 0.5 MB deflated into 512 MB", "deflated", nullptr},
    {"server: PNG of 20000 x 20000 pixels", "bomb", nullptr},
    {"database: endless tiles view", nullptr, "endless-tiles.mbtiles"},
    {"database: endless metadata view", nullptr, "endless-metadata.mbtiles"},
    {"database: tiles of zeroblob(900000000)", nullptr, "zeroblob.mbtiles"},
    {"database: PNG of 20000 x 20000 pixels", nullptr, "bomb.mbtiles"},
};

QVector<TileMath::TileId> sixTiles()
{
    QVector<TileMath::TileId> tiles;
    for (int x = 0; x < 6; ++x)
        tiles.append(TileMath::TileId{15, 19800 + x, 10243});
    return tiles;
}

QByteArray png(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

QByteArray goodTile()
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return png(image);
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

// A file of six good tiles, then made hostile by `statements`.
bool writeDatabase(const QString &path, const QStringList &statements)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        ok = db.open()
             && query.exec(QStringLiteral("CREATE TABLE tiles (zoom_level integer, tile_column "
                                          "integer, tile_row integer, tile_data blob)"))
             && query.exec(QStringLiteral("CREATE TABLE metadata (name text, value text)"))
             && query.prepare(QStringLiteral("INSERT INTO tiles VALUES (?, ?, ?, ?)"));
        for (const TileMath::TileId &tile : sixTiles()) {
            query.addBindValue(tile.zoom);
            query.addBindValue(tile.x);
            query.addBindValue(TileMath::mbtilesRow(tile));
            query.addBindValue(goodTile());
            ok = ok && query.exec();
        }
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
    }
    QSqlDatabase::removeDatabase(path);
    return ok;
}

// Made by the runner, whose own memory is not measured.
bool writePayloads(const QString &folder)
{
    QImage blank(20000, 20000, QImage::Format_Mono);
    blank.fill(0);
    const QByteArray bomb = png(blank);
    // The body of a "deflate" answer: qCompress's zlib stream without its
    // length prefix.
    const QByteArray deflated = qCompress(QByteArray(512 << 20, 0), 9).mid(4);
    const QString endless = QStringLiteral("CREATE VIEW %1 AS WITH RECURSIVE n(i) AS (SELECT 1 "
                                           "UNION ALL SELECT i + 1 FROM n) SELECT %2 FROM n");
    return writeFile(folder + QLatin1String("/bomb.png"), bomb)
           && writeFile(folder + QLatin1String("/deflated.bin"), deflated)
           && writeDatabase(folder + QLatin1String("/endless-tiles.mbtiles"),
                            {QStringLiteral("DROP TABLE tiles"),
                             endless.arg(QStringLiteral("tiles"),
                                         QStringLiteral("i % 1 AS zoom_level, i % 1 AS "
                                                        "tile_column, i % 1 AS tile_row, x'00' "
                                                        "AS tile_data"))})
           && writeDatabase(folder + QLatin1String("/endless-metadata.mbtiles"),
                            {QStringLiteral("DROP TABLE metadata"),
                             endless.arg(QStringLiteral("metadata"),
                                         QStringLiteral("'x' || i AS name, i AS value"))})
           && writeDatabase(folder + QLatin1String("/zeroblob.mbtiles"),
                            {QStringLiteral("ALTER TABLE tiles RENAME TO stored"),
                             QStringLiteral("CREATE VIEW tiles AS SELECT zoom_level, tile_column, "
                                            "tile_row, zeroblob(900000000) AS tile_data FROM "
                                            "stored")})
           && writeDatabase(folder + QLatin1String("/bomb.mbtiles"),
                            {QStringLiteral("UPDATE tiles SET tile_data = x'%1'")
                                 .arg(QString::fromLatin1(bomb.toHex()))});
}

// The hostile tile server: /<kind>/z/x/y answers as the kind says, as fast
// as the client takes it.
class TileServer : public QObject
{
public:
    explicit TileServer(const QString &folder)
        : m_folder(folder)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString url(const QString &kind) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2/{z}/{x}/{y}")
            .arg(m_server.serverPort())
            .arg(kind);
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray request = socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray kind = request.split(' ').value(1).split('/').value(1);
        const QByteArray cacheable = "Cache-Control: max-age=600\r\n";
        if (kind == "good") {
            answer(socket, goodTile(), cacheable);
        } else if (kind == "bomb") {
            answer(socket, read(QStringLiteral("bomb.png")), cacheable);
        } else if (kind == "deflated") {
            answer(socket, read(QStringLiteral("deflated.bin")),
                   cacheable + "Content-Encoding: deflate\r\n");
        } else if (kind == "huge") {
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n" + cacheable + "\r\n");
            pour(socket, QByteArray(1 << 16, 'x'));
        } else if (kind == "endless") {
            socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n" + cacheable + "\r\n");
            pour(socket, "10000\r\n" + QByteArray(1 << 16, 'x') + "\r\n");
        }
    }

    QByteArray read(const QString &name) const
    {
        QFile file(m_folder + QLatin1Char('/') + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void answer(QTcpSocket *socket, const QByteArray &body, const QByteArray &headers)
    {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n" + headers
                      + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }

    // Keeps a megabyte on its way while the client listens.
    static void pour(QTcpSocket *socket, const QByteArray &piece)
    {
        auto more = [socket, piece] {
            while (socket->state() == QAbstractSocket::ConnectedState
                   && socket->bytesToWrite() < (1 << 20))
                socket->write(piece);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    QString m_folder;
    QTcpServer m_server;
};

int runCase(const Case &what, const QString &folder)
{
    TileServer server(folder);
    QNetworkAccessManager network;
    auto *cache = new QNetworkDiskCache(&network);
    cache->setCacheDirectory(folder + QLatin1String("/cache-") + QString::number(&what - Cases));
    cache->setMaximumCacheSize(200 * 1024 * 1024);
    network.setCache(cache);

    const Arvel::MapSource source{QStringLiteral("bench"), QString::fromLatin1(what.database),
                                  what.server ? server.url(QString::fromLatin1(what.server))
                                              : QString()};
    QElapsedTimer clock;
    clock.start();
    TileSource tiles(source, folder, &network);
    QString problem;
    int ready = 0;
    QObject::connect(&tiles, &TileSource::problem, [&problem](const QString &message) {
        if (problem.isEmpty())
            problem = message.mid(message.indexOf(QLatin1String(": ")) + 2);
    });
    QObject::connect(&tiles, &TileSource::tileReady, [&ready] { ++ready; });
    tiles.setWanted(sixTiles());
    // Done when every tile is in or every request has ended.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const TileDownloader *downloader = tiles.downloader();
        if (ready == 6 || !downloader || (downloader->inFlight() == 0 && downloader->queued() == 0)
            || clock.elapsed() > 60000)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    const qint64 elapsed = clock.elapsed();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // For the runner: peak, time, cache size and report, a tab between them.
    QTextStream(stdout) << QString::asprintf("%.1f\t%lld\t%.1f\t", usage.ru_maxrss / 1024.0,
                                             elapsed, cache->cacheSize() / 1024.0)
                        << (problem.isEmpty() ? QStringLiteral("%1 tiles shown").arg(ready)
                                              : problem)
                        << '\n';
    return 0;
}

// What a case's process gave.
struct Outcome
{
    bool done = false;
    double peakMb = 0;
    double ms = 0;
    double cacheKb = 0;
    QString report;
};

// Runs a case in a process of its own, with an empty disk cache.
Outcome runProcess(const Case &what, const QString &folder)
{
    QDir(folder + QLatin1String("/cache-") + QString::number(&what - Cases)).removeRecursively();
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(what.name), folder});
    Outcome outcome;
    if (!run.waitForFinished(120000) || run.exitCode() != 0)
        return outcome;
    const QStringList fields =
        QString::fromUtf8(run.readAllStandardOutput()).trimmed().split(QLatin1Char('\t'));
    if (fields.size() != 4)
        return outcome;
    outcome.done = true;
    outcome.peakMb = fields.at(0).toDouble();
    outcome.ms = fields.at(1).toDouble();
    outcome.cacheKb = fields.at(2).toDouble();
    outcome.report = fields.at(3);
    return outcome;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3) {
        for (const Case &what : Cases) {
            if (args.at(1) == QLatin1String(what.name))
                return runCase(what, args.at(2));
        }
        return 2;
    }

    QTextStream out(stdout);
    const int runs = args.size() == 2 ? qMax(1, args.at(1).toInt()) : 3;
    QTemporaryDir folder;
    if (!folder.isValid() || !writePayloads(folder.path())) {
        out << "the payloads cannot be written\n";
        return 1;
    }
    out << "peak memory (maximum resident set) of a process asking for six tiles of each "
           "source, against a bare process asking for six good tiles in turn; medians of "
        << runs << " runs, the ratio's middle half in brackets; time until every request ended\n";
    out.flush();
    for (const Case &what : Cases) {
        const bool bare = &what == Cases;
        Bench::Pairs peaks;
        std::vector<double> times, cacheSizes;
        Outcome outcome;
        for (int run = 0; run < runs; ++run) {
            const Outcome bareOutcome = runProcess(Cases[0], folder.path());
            outcome = bare ? bareOutcome : runProcess(what, folder.path());
            if (!bareOutcome.done || !outcome.done) {
                out << what.name << ": the process failed\n";
                return 1;
            }
            peaks.add(outcome.peakMb, bareOutcome.peakMb);
            times.push_back(outcome.ms);
            cacheSizes.push_back(outcome.cacheKb);
        }
        out << QString::asprintf("%-42s %6.1f MB ", what.name, peaks.measured())
            << (bare ? QString(16, QLatin1Char(' ')) : peaks.ratioText().leftJustified(16))
            << QString::asprintf("%7.0f ms  cache %7.1f KB  ", Bench::median(times),
                                 Bench::median(cacheSizes))
            << outcome.report << '\n';
        out.flush();
    }
    return 0;
}
