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
// request aborted, without a word.
class TileDownloader : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxInFlight = 6;

    TileDownloader(const TileTemplate &tiles, QNetworkAccessManager *network,
                   QObject *parent = nullptr);
    ~TileDownloader() override;

    // A request not answered within `msec` fails.
    void setTimeout(int msec) { m_timeoutMs = msec; }
    // The tiles to fetch, most wanted first; any other is given up.
    void setWanted(const QVector<TileMath::TileId> &tiles);
    int inFlight() const { return m_inFlight.size(); }
    int queued() const { return m_queue.size(); }

signals:
    void loaded(const TileMath::TileId &tile, const QByteArray &data);
    // `reason` is for the user and names no tile: it is the same for every
    // tile that fails alike.
    void failed(const TileMath::TileId &tile, const QString &reason);

private:
    void startRequests();
    void finish(QNetworkReply *reply);

    TileTemplate m_template;
    QPointer<QNetworkAccessManager> m_network;
    QByteArray m_userAgent;
    int m_timeoutMs = 20000;
    QVector<TileMath::TileId> m_queue;
    QHash<TileMath::TileId, QNetworkReply *> m_inFlight;
};
