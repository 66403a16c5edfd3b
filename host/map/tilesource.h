#pragma once

#include "tilemath.h"

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class MbTilesFile;
class QNetworkAccessManager;
class TileDownloader;

namespace Arvel {
struct MapSource;
}

// The tiles of one map source: from its tile database first, from its tile
// server for what the database lacks, decoded and kept in memory within a
// budget in bytes. A tile that neither has stays missing. The first failure
// of the database and the first of the server are each reported once.
class TileSource : public QObject
{
    Q_OBJECT

public:
    // A relative database path is taken from `baseDir`, the project's folder.
    TileSource(const Arvel::MapSource &source, const QString &baseDir,
               QNetworkAccessManager *network, QObject *parent = nullptr);
    ~TileSource() override;

    QString name() const { return m_name; }
    QString attribution() const;
    TileDownloader *downloader() const { return m_downloader.get(); }

    void setMemoryLimit(qint64 bytes);
    // The tile's image when it is in memory, else a null image.
    QImage image(const TileMath::TileId &tile) const;

    // The tiles in view, most wanted first: those not in memory are read from
    // the database or asked from the server; the server's other requests
    // are given up.
    void setWanted(const QVector<TileMath::TileId> &tiles);

signals:
    void tileReady(const TileMath::TileId &tile);
    // What failed, naming the source; once for its database, once for its server.
    void problem(const QString &message);

private:
    bool store(const TileMath::TileId &tile, const QByteArray &data);
    void reportDatabase(const QString &what);
    void reportServer(const QString &what);

    QString m_name;
    std::unique_ptr<MbTilesFile> m_database;
    std::unique_ptr<TileDownloader> m_downloader;
    QCache<quint64, QImage> m_images;
    // Tiles that neither the database nor the server has.
    QSet<quint64> m_absent;
    bool m_databaseReported = false;
    bool m_serverReported = false;
};
