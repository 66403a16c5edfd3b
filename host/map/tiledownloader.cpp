#include "tiledownloader.h"

#include <QCoreApplication>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>

#include <algorithm>

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
    const QList<QNetworkReply *> replies = m_inFlight.values();
    m_inFlight.clear();
    for (QNetworkReply *reply : replies) {
        reply->abort();
        reply->deleteLater();
    }
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
        dropped.append(it.value());
        it = m_inFlight.erase(it);
    }
    for (QNetworkReply *reply : qAsConst(dropped)) {
        reply->abort();
        reply->deleteLater();
    }
    m_queue.clear();
    for (const TileMath::TileId &tile : tiles) {
        if (!m_inFlight.contains(tile) && TileMath::isValid(tile))
            m_queue.append(tile);
    }
    startRequests();
}

void TileDownloader::startRequests()
{
    while (m_network && m_inFlight.size() < MaxInFlight && !m_queue.isEmpty()) {
        const TileMath::TileId tile = m_queue.takeFirst();
        QNetworkRequest request(m_template.url(tile));
        request.setRawHeader("User-Agent", m_userAgent);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferCache);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setTransferTimeout(m_timeoutMs);
        QNetworkReply *reply = m_network->get(request);
        m_inFlight.insert(tile, reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    }
}

void TileDownloader::finish(QNetworkReply *reply)
{
    reply->deleteLater();
    const auto it = std::find(m_inFlight.begin(), m_inFlight.end(), reply);
    if (it == m_inFlight.end()) // aborted by us
        return;
    const TileMath::TileId tile = it.key();
    m_inFlight.erase(it);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        emit failed(tile, tr("the tile server answers %1 %2").arg(status).arg(phrase).trimmed());
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Not ours, so the transfer timeout's.
        emit failed(tile, tr("the tile server does not answer within %1 s")
                              .arg(QLocale().toString(m_timeoutMs / 1000.0)));
    } else if (reply->error() != QNetworkReply::NoError) {
        emit failed(tile, tr("the tile server cannot be reached: %1").arg(reply->errorString()));
    } else {
        emit loaded(tile, reply->readAll());
    }
    startRequests();
}
