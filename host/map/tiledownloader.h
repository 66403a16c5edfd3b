#pragma once

#include "tilemath.h"
#include "tiletemplate.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>

class QNetworkAccessManager;
class QNetworkReply;

// Tiles fetched from a tile server through a network manager (and its disk
// cache): at most MaxInFlight requests at a time, the others queued in the
// order asked. A tile no longer wanted is dropped from the queue, or its
// request aborted, without a word. An answer has a deadline as a whole and
// may not exceed TileMath::MaxTileBytes, declared or received (bodies are
// asked for uncompressed, so what arrives is what is kept); past either the
// request is aborted, and the disk cache keeps nothing of a tile that failed.
class TileDownloader : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxInFlight = 6;
    static constexpr int DefaultTimeoutMs = 20000;

    TileDownloader(const TileTemplate &tiles, QNetworkAccessManager *network,
                   QObject *parent = nullptr);
    ~TileDownloader() override;

    // A request not answered in full within `msec` of its start fails.
    void setTimeout(int msec) { m_timeoutMs = msec; }
    // The tiles to fetch, most wanted first; any other is given up.
    void setWanted(const QVector<TileMath::TileId> &tiles);
    int inFlight() const { return m_inFlight.size(); }
    int queued() const { return m_queue.size(); }
    // Drops the tile's answer from the disk cache, for an answer found to be
    // no tile, so that the server is asked when the tile is wanted again.
    void uncache(const TileMath::TileId &tile);

signals:
    void loaded(const TileMath::TileId &tile, const QByteArray &data);
    // The server did not give the tile: it cannot be reached, answers with
    // an error or not within the deadline. Another try may succeed.
    // `reason` is for the user and names no tile: it is the same for every
    // tile that fails alike.
    void failed(const TileMath::TileId &tile, const QString &reason);
    // The server's answer is no tile (larger than any tile): asking again
    // would bring the same.
    void refused(const TileMath::TileId &tile, const QString &reason);

private:
    void startRequests();
    struct Request
    {
        QNetworkReply *reply = nullptr;
        // What arrived so far, taken out of the reply as it comes.
        QByteArray body;
    };

    void receive(QNetworkReply *reply);
    void finish(QNetworkReply *reply);
    void timeOut(QNetworkReply *reply);
    QHash<TileMath::TileId, Request>::iterator find(QNetworkReply *reply);
    bool take(QNetworkReply *reply, TileMath::TileId *tile, QByteArray *body = nullptr);
    void abandon(QNetworkReply *reply);

    TileTemplate m_template;
    QPointer<QNetworkAccessManager> m_network;
    QByteArray m_userAgent;
    int m_timeoutMs = DefaultTimeoutMs;
    QVector<TileMath::TileId> m_queue;
    QHash<TileMath::TileId, Request> m_inFlight;
};
