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
    const QString parsedHost = url.host(QUrl::FullyDecoded);
    const int parsedPort = url.port(-1);
    // QUrl takes some hosts that it cannot give back: an "xn--" label that
    // decodes to a name it refuses to set ("xn--a-twc": Latin and Arabic in
    // one label), an IPv6 zone holding "]". Stored, such a host could never
    // be shown and read again.
    const QUrl shown(toText(parsedHost, parsedPort), QUrl::TolerantMode);
    if (shown.host(QUrl::FullyDecoded) != parsedHost || shown.port(-1) != parsedPort)
        return false;
    *host = parsedHost;
    *port = parsedPort;
    return true;
}

} // namespace ServerAddress
