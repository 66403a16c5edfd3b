#include "tilesource.h"

#include "mbtilesfile.h"
#include "project.h"
#include "tiledownloader.h"
#include "tiletemplate.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QTimer>

#include <limits>

namespace {

const qint64 DefaultMemoryLimit = 96 * 1024 * 1024;
// Past this many known gaps the list starts afresh rather than grow.
const int MaxAbsent = 1 << 16;

} // namespace

TileSource::TileSource(const Arvel::MapSource &source, const QString &baseDir,
                       QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_name(source.name)
{
    setMemoryLimit(DefaultMemoryLimit);
    const QString dbFile = source.dbFile.trimmed();
    if (!dbFile.isEmpty())
        m_database = std::make_unique<MbTilesFile>(QDir(baseDir).absoluteFilePath(dbFile));
    const TileTemplate server(source.tileServer);
    if (server.isValid()) {
        m_downloader = std::make_unique<TileDownloader>(server, network);
        connect(m_downloader.get(), &TileDownloader::loaded, this,
                [this](const TileMath::TileId &tile, const QByteArray &data) {
                    if (store(tile, data)) {
                        emit tileReady(tile);
                        return;
                    }
                    m_absent.insert(TileMath::key(tile));
                    m_downloader->uncache(tile);
                    reportServer(tr("the tile server sends tiles that are no images"));
                });
        connect(m_downloader.get(), &TileDownloader::failed, this,
                [this](const TileMath::TileId &tile, const QString &reason) {
                    m_absent.insert(TileMath::key(tile));
                    reportServer(reason);
                });
        connect(m_downloader.get(), &TileDownloader::refused, this,
                [this](const TileMath::TileId &tile, const QString &reason) {
                    m_absent.insert(TileMath::key(tile));
                    reportServer(reason);
                });
    }
    // Reported once the caller has connected to problem().
    QTimer::singleShot(0, this, [this, server] {
        if (m_database && !m_database->isOpen())
            reportDatabase(m_database->errorString());
        if (!server.isEmpty() && !server.isValid())
            reportServer(tr("the tile server template %1 is invalid: %2")
                             .arg(server.text(), server.problem()));
    });
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

QImage TileSource::image(const TileMath::TileId &tile) const
{
    const QImage *found = m_images.object(TileMath::key(tile));
    return found ? *found : QImage();
}

void TileSource::setWanted(const QVector<TileMath::TileId> &tiles)
{
    if (m_absent.size() > MaxAbsent)
        m_absent.clear();
    QVector<TileMath::TileId> fetch;
    for (const TileMath::TileId &tile : tiles) {
        const quint64 key = TileMath::key(tile);
        if (m_images.contains(key) || m_absent.contains(key))
            continue;
        if (m_database && m_database->isOpen()) {
            QByteArray data;
            switch (m_database->read(tile, &data)) {
            case MbTilesFile::Read::Found:
                if (store(tile, data)) {
                    emit tileReady(tile);
                    continue;
                }
                reportDatabase(tr("%1 holds tiles that are no images").arg(m_database->fileName()));
                break;
            case MbTilesFile::Read::Failed:
                reportDatabase(m_database->errorString());
                break;
            case MbTilesFile::Read::Missing:
                break;
            }
        }
        if (m_downloader)
            fetch.append(tile);
        else
            m_absent.insert(key);
    }
    if (m_downloader)
        m_downloader->setWanted(fetch);
}

bool TileSource::store(const TileMath::TileId &tile, const QByteArray &data)
{
    QImage image = QImage::fromData(data);
    if (image.isNull())
        return false;
    // The form the view draws fastest: opaque tiles are copied, not blended.
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    const int cost = int(qMin<qint64>(image.sizeInBytes(), std::numeric_limits<int>::max()));
    m_images.insert(TileMath::key(tile), new QImage(std::move(image)), cost);
    return true;
}

void TileSource::reportDatabase(const QString &what)
{
    if (m_databaseReported)
        return;
    m_databaseReported = true;
    emit problem(tr("Map source %1: %2").arg(m_name, what));
}

void TileSource::reportServer(const QString &what)
{
    if (m_serverReported)
        return;
    m_serverReported = true;
    emit problem(tr("Map source %1: %2").arg(m_name, what));
}
