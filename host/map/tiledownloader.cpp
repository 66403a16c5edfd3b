#include "tiledownloader.h"

#include <QAbstractNetworkCache>
#include <QCoreApplication>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QTimer>

#include <algorithm>

namespace {

// What the network layer may hold of an answer before it is taken out.
const qint64 ReadBufferBytes = 256 * 1024;

} // namespace

TileDownloader::TileDownloader(const TileTemplate &tiles, QNetworkAccessManager *network,
                               QObject *parent)
    : QObject(parent)
    , m_template(tiles)
    , m_network(network)
    , m_userAgent(
          QStringLiteral("%1/%2 (reference host of editor2)")
              .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())
              .toUtf8())
{
}

TileDownloader::~TileDownloader()
{
    const QList<Request> requests = m_inFlight.values();
    m_inFlight.clear();
    for (const Request &request : requests)
        abandon(request.reply);
}

void TileDownloader::setWanted(const QVector<TileMath::TileId> &tiles)
{
    const QSet<TileMath::TileId> wanted(tiles.cbegin(), tiles.cend());
    // Taken out before the abort, so that its finished() is known for ours.
    QList<QNetworkReply *> dropped;
    for (auto it = m_inFlight.begin(); it != m_inFlight.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        dropped.append(it->reply);
        it = m_inFlight.erase(it);
    }
    for (QNetworkReply *reply : qAsConst(dropped))
        abandon(reply);
    m_queue.clear();
    for (const TileMath::TileId &tile : tiles) {
        if (!m_inFlight.contains(tile) && TileMath::isValid(tile))
            m_queue.append(tile);
    }
    startRequests();
}

void TileDownloader::uncache(const TileMath::TileId &tile)
{
    if (QAbstractNetworkCache *cache = m_network ? m_network->cache() : nullptr)
        cache->remove(m_template.url(tile));
}

void TileDownloader::startRequests()
{
    while (m_network && m_inFlight.size() < MaxInFlight && !m_queue.isEmpty()) {
        const TileMath::TileId tile = m_queue.takeFirst();
        QNetworkRequest request(m_template.url(tile));
        request.setRawHeader("User-Agent", m_userAgent);
        // A compressed body would be inflated before its size could be seen.
        request.setRawHeader("Accept-Encoding", "identity");
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferCache);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        QNetworkReply *reply = m_network->get(request);
        reply->setReadBufferSize(ReadBufferBytes);
        m_inFlight.insert(tile, Request{reply, QByteArray()});
        connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { receive(reply); });
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { receive(reply); });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
        // The transfer timeout would wait for ever on a server that sends a
        // byte now and then.
        auto *deadline = new QTimer(reply);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, reply] { timeOut(reply); });
        deadline->start(m_timeoutMs);
    }
}

// Takes in what arrived, and ends the answer as soon as it is more than a tile.
void TileDownloader::receive(QNetworkReply *reply)
{
    const auto it = find(reply);
    if (it == m_inFlight.end())
        return;
    it->body += reply->readAll();
    const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (qMax<qint64>(declared, it->body.size()) > TileMath::MaxTileBytes)
        finish(reply);
}

void TileDownloader::finish(QNetworkReply *reply)
{
    TileMath::TileId tile;
    QByteArray body;
    if (!take(reply, &tile, &body)) // given up already
        return;
    if (reply->isFinished())
        body += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (status >= 400) {
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        abandon(reply);
        emit failed(tile, tr("the tile server answers %1 %2").arg(status).arg(phrase).trimmed());
    } else if (qMax<qint64>(declared, body.size()) > TileMath::MaxTileBytes) {
        abandon(reply);
        emit refused(tile, tr("the tile server sends more than %1 MB for a tile")
                               .arg(TileMath::MaxTileBytes / (1024 * 1024)));
    } else if (reply->error() != QNetworkReply::NoError) {
        const QString why = reply->errorString();
        abandon(reply);
        emit failed(tile, tr("the tile server cannot be reached: %1").arg(why));
    } else {
        reply->deleteLater();
        emit loaded(tile, body);
    }
    startRequests();
}

void TileDownloader::timeOut(QNetworkReply *reply)
{
    TileMath::TileId tile;
    if (!take(reply, &tile))
        return;
    abandon(reply);
    emit failed(tile, tr("the tile server does not answer within %1 s")
                          .arg(QLocale().toString(m_timeoutMs / 1000.0)));
    startRequests();
}

QHash<TileMath::TileId, TileDownloader::Request>::iterator
TileDownloader::find(QNetworkReply *reply)
{
    return std::find_if(m_inFlight.begin(), m_inFlight.end(),
                        [reply](const Request &request) { return request.reply == reply; });
}

// Takes the reply out of those in flight, so that its abort is known for
// ours; false when it is not in flight.
bool TileDownloader::take(QNetworkReply *reply, TileMath::TileId *tile, QByteArray *body)
{
    const auto it = find(reply);
    if (it == m_inFlight.end())
        return false;
    *tile = it.key();
    if (body)
        *body = std::move(it->body);
    m_inFlight.erase(it);
    return true;
}

// An aborted answer may still be on its way into the disk cache, or an
// earlier one be there: neither stays.
void TileDownloader::abandon(QNetworkReply *reply)
{
    reply->abort();
    if (QAbstractNetworkCache *cache = m_network ? m_network->cache() : nullptr) {
        cache->remove(reply->request().url());
        cache->remove(reply->url());
    }
    reply->deleteLater();
}
