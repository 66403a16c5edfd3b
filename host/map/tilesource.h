#pragma once

#include "tilemath.h"
#include "tiletemplate.h"

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>

class MbTilesFile;
class QNetworkAccessManager;
class TileDownloader;

namespace Arvel {
struct MapSource;
}

// The tiles of one map source: from its tile database first, from its tile
// server for what the database lacks, decoded and kept in memory within a
// budget in bytes. A tile that neither has stays missing. An image is
// decoded only when its header declares a tile's size (at most
// TileMath::MaxTileSide pixels a side). A tile whose fault may pass (the
// server unreachable, answering an error or too slow, a failed read of the
// database) is asked for again once RetryPauseMs have passed, if it is still
// in view; one refused for good (larger than a tile, or no image) only when
// the source is chosen again (forgetFailures()). The first failure of the
// database and the first of the server are each reported once, however
// often a tile is tried again.
class TileSource : public QObject
{
    Q_OBJECT

public:
    static constexpr int RetryPauseMs = 30000;

    // A relative database path is taken from `baseDir`, the project's folder.
    TileSource(const Arvel::MapSource &source, const QString &baseDir,
               QNetworkAccessManager *network, QObject *parent = nullptr);
    ~TileSource() override;

    QString name() const { return m_name; }
    QString attribution() const;
    TileDownloader *downloader() const { return m_downloader.get(); }

    void setMemoryLimit(qint64 bytes);
    // How long a tile whose fault may pass waits before it is asked for again.
    void setRetryPause(int msec);
    // The tile's image when it is in memory, else a null image.
    QImage image(const TileMath::TileId &tile) const;

    // The tiles in view, most wanted first: those not in memory are read from
    // the database or asked from the server; the server's other requests
    // are given up. Those of them that failed are tried again, without a
    // call, once their pause is over.
    void setWanted(const QVector<TileMath::TileId> &tiles);
    // The source was chosen again: the tiles in memory stay, everything that
    // failed or was refused is asked for again when wanted, a database closed
    // for a fault is opened again, and faults are reported afresh.
    void forgetFailures();

signals:
    void tileReady(const TileMath::TileId &tile);
    // What failed, naming the source; once for its database, once for its server.
    void problem(const QString &message);

private:
    enum class Decoded { Stored, NoImage, TooLarge };
    // Why a tile is not in memory and not read or asked for again.
    enum class Gap {
        Missing,         // neither the database nor the server has it
        DatabaseRefused, // the database's copy was refused; the server may have one
        Failed,          // a fault that may pass: the server unreachable, answering an
                         // error or too slow, or a failed read of the database
        Refused,         // refused for good: larger than a tile, or no image
    };
    struct Known
    {
        Gap gap;
        // When a Failed tile failed, on m_clock.
        qint64 since = 0;
    };

    Decoded store(const TileMath::TileId &tile, const QByteArray &data, QSize *size);
    void openDatabase();
    void reportOpenFaults();
    void reportDatabase(const QString &what);
    void reportServer(const QString &what);
    void noteFailure(quint64 key);
    void retryAfter(qint64 msec);

    QString m_name;
    QString m_databasePath;
    TileTemplate m_server;
    std::unique_ptr<MbTilesFile> m_database;
    std::unique_ptr<TileDownloader> m_downloader;
    QCache<quint64, QImage> m_images;
    QHash<quint64, Known> m_gaps;
    // The tiles last wanted, for the retry: one timer for all failures, set
    // to the first one due.
    QVector<TileMath::TileId> m_wanted;
    QElapsedTimer m_clock;
    QTimer m_retry;
    int m_retryPauseMs = RetryPauseMs;
    bool m_databaseReported = false;
    bool m_serverReported = false;
};
