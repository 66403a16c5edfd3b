#include "serveraddress.h"

#include <QUrl>

namespace ServerAddress {

QString toText(const QString &host, int port)
{
    QUrl url;
    url.setHost(host, QUrl::DecodedMode);
    url.setPort(port);
    return url.toString();
}

bool parse(const QString &text, QString *host, int *port)
{
    const QString trimmed = text.trimmed();
    QUrl url(trimmed, QUrl::TolerantMode);
    // Without "//" the parser takes "host:port" for a scheme and a path, or
    // rejects it when the host starts with a digit.
    if (url.host().isEmpty())
        url = QUrl(QLatin1String("//") + trimmed, QUrl::TolerantMode);
    // An invalid URL still reports its host when only its port is wrong.
    if (!url.isValid() || url.host().isEmpty())
        return false;
    *host = url.host(QUrl::FullyDecoded);
    *port = url.port(-1);
    return true;
}

} // namespace ServerAddress
