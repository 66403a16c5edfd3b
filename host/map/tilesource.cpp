#include "tilesource.h"

#include "mbtilesfile.h"
#include "project.h"
#include "tiledownloader.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QTimer>

#include <iterator>
#include <limits>

namespace {

const qint64 DefaultMemoryLimit = 96 * 1024 * 1024;
// Past this many known gaps the list starts afresh rather than grow.
const int MaxGaps = 1 << 16;

} // namespace

TileSource::TileSource(const Arvel::MapSource &source, const QString &baseDir,
                       QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_name(source.name)
    , m_server(source.tileServer)
{
    setMemoryLimit(DefaultMemoryLimit);
    m_clock.start();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { setWanted(m_wanted); });
    const QString dbFile = source.dbFile.trimmed();
    if (!dbFile.isEmpty()) {
        m_databasePath = QDir(baseDir).absoluteFilePath(dbFile);
        openDatabase();
    }
    if (m_server.isValid()) {
        m_downloader = std::make_unique<TileDownloader>(m_server, network);
        connect(m_downloader.get(), &TileDownloader::loaded, this,
                [this](const TileMath::TileId &tile, const QByteArray &data) {
                    QSize size;
                    const Decoded decoded = store(tile, data, &size);
                    if (decoded == Decoded::Stored) {
                        emit tileReady(tile);
                        return;
                    }
                    m_gaps.insert(TileMath::key(tile), {Gap::Refused});
                    m_downloader->uncache(tile);
                    reportServer(decoded == Decoded::TooLarge
                                     ? tr("the tile server sends images of %1 × %2 pixels, "
                                          "larger than a tile")
                                           .arg(size.width())
                                           .arg(size.height())
                                     : tr("the tile server sends tiles that are no images"));
                });
        connect(m_downloader.get(), &TileDownloader::failed, this,
                [this](const TileMath::TileId &tile, const QString &reason) {
                    noteFailure(TileMath::key(tile));
                    reportServer(reason);
                });
        connect(m_downloader.get(), &TileDownloader::refused, this,
                [this](const TileMath::TileId &tile, const QString &reason) {
                    m_gaps.insert(TileMath::key(tile), {Gap::Refused});
                    reportServer(reason);
                });
    }
    // Reported once the caller has connected to problem().
    QTimer::singleShot(0, this, &TileSource::reportOpenFaults);
}

TileSource::~TileSource() = default;

QString TileSource::attribution() const
{
    return m_database ? m_database->attribution() : QString();
}

void TileSource::setMemoryLimit(qint64 bytes)
{
    m_images.setMaxCost(int(qBound<qint64>(0, bytes, std::numeric_limits<int>::max())));
}

void TileSource::setRetryPause(int msec)
{
    m_retryPauseMs = qMax(0, msec);
    if (m_retry.isActive())
        m_retry.start(m_retryPauseMs);
}

QImage TileSource::image(const TileMath::TileId &tile) const
{
    const QImage *found = m_images.object(TileMath::key(tile));
    return found ? *found : QImage();
}

void TileSource::setWanted(const QVector<TileMath::TileId> &tiles)
{
    // The tiles refused for good are the last to be forgotten.
    if (m_gaps.size() > MaxGaps) {
        for (auto it = m_gaps.begin(); it != m_gaps.end();)
            it = it->gap == Gap::Refused ? std::next(it) : m_gaps.erase(it);
        if (m_gaps.size() > MaxGaps)
            m_gaps.clear();
    }
    m_wanted = tiles;
    const qint64 now = m_clock.elapsed();
    qint64 firstDue = -1;
    QVector<TileMath::TileId> fetch;
    for (const TileMath::TileId &tile : tiles) {
        const quint64 key = TileMath::key(tile);
        if (m_images.contains(key))
            continue;
        auto gap = m_gaps.find(key);
        if (gap != m_gaps.end() && gap->gap == Gap::Failed) {
            const qint64 due = gap->since + m_retryPauseMs - now;
            if (due > 0) {
                firstDue = firstDue < 0 ? due : qMin(firstDue, due);
                continue;
            }
            m_gaps.erase(gap);
            gap = m_gaps.end();
        }
        bool refused = gap != m_gaps.end() && gap->gap == Gap::DatabaseRefused;
        if (gap != m_gaps.end() && !refused)
            continue;
        bool failed = false;
        if (!refused && m_database && m_database->isOpen()) {
            QByteArray data;
            QSize size;
            switch (m_database->read(tile, &data)) {
            case MbTilesFile::Read::Found:
                switch (store(tile, data, &size)) {
                case Decoded::Stored:
                    emit tileReady(tile);
                    continue;
                case Decoded::TooLarge:
                    reportDatabase(tr("%1 holds images of %2 × %3 pixels, larger than a tile")
                                       .arg(m_database->fileName())
                                       .arg(size.width())
                                       .arg(size.height()));
                    break;
                case Decoded::NoImage:
                    reportDatabase(
                        tr("%1 holds tiles that are no images").arg(m_database->fileName()));
                    break;
                }
                refused = true;
                break;
            case MbTilesFile::Read::Failed:
                reportDatabase(m_database->errorString());
                failed = true;
                break;
            case MbTilesFile::Read::Missing:
                break;
            }
        }
        if (m_downloader) {
            if (refused)
                m_gaps.insert(key, {Gap::DatabaseRefused});
            fetch.append(tile);
        } else if (failed) {
            noteFailure(key);
        } else {
            m_gaps.insert(key, {refused ? Gap::Refused : Gap::Missing});
        }
    }
    if (firstDue >= 0)
        retryAfter(firstDue);
    if (m_downloader)
        m_downloader->setWanted(fetch);
}

void TileSource::forgetFailures()
{
    m_gaps.clear();
    m_retry.stop();
    m_databaseReported = false;
    m_serverReported = false;
    if (m_database && !m_database->isOpen())
        openDatabase();
    reportOpenFaults();
}

TileSource::Decoded TileSource::store(const TileMath::TileId &tile, const QByteArray &data,
                                      QSize *size)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header first: a few kilobytes may declare gigabytes of pixels.
    *size = reader.size();
    if (size->isEmpty())
        return Decoded::NoImage;
    if (size->width() > TileMath::MaxTileSide || size->height() > TileMath::MaxTileSide)
        return Decoded::TooLarge;
    QImage image;
    if (!reader.read(&image))
        return Decoded::NoImage;
    // The form the view draws fastest: opaque tiles are copied, not blended.
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    const int cost = int(qMin<qint64>(image.sizeInBytes(), std::numeric_limits<int>::max()));
    m_images.insert(TileMath::key(tile), new QImage(std::move(image)), cost);
    return Decoded::Stored;
}

void TileSource::openDatabase()
{
    // The old connection is closed before the new one opens.
    m_database.reset();
    m_database = std::make_unique<MbTilesFile>(m_databasePath);
}

void TileSource::reportOpenFaults()
{
    if (m_database && !m_database->isOpen())
        reportDatabase(m_database->errorString());
    if (!m_server.isEmpty() && !m_server.isValid())
        reportServer(tr("the tile server template %1 is invalid: %2")
                         .arg(m_server.text(), m_server.problem()));
}

void TileSource::reportDatabase(const QString &what)
{
    if (m_databaseReported)
        return;
    m_databaseReported = true;
    emit problem(tr("Map source %1: %2").arg(m_name, what));
}

void TileSource::noteFailure(quint64 key)
{
    m_gaps.insert(key, {Gap::Failed, m_clock.elapsed()});
    retryAfter(m_retryPauseMs);
}

// The timer stays set for the failure due first.
void TileSource::retryAfter(qint64 msec)
{
    const int wait = int(qMin<qint64>(msec, std::numeric_limits<int>::max()));
    if (!m_retry.isActive() || m_retry.remainingTime() > wait)
        m_retry.start(wait);
}

void TileSource::reportServer(const QString &what)
{
    if (m_serverReported)
        return;
    m_serverReported = true;
    emit problem(tr("Map source %1: %2").arg(m_name, what));
}
