// Server address: parsing never crashes; a rejected text leaves the host and
// port alone; an accepted one names a host and a port from -1 to 65535, and
// written back as the dialog shows it ("//host:port") parses to the same host
// and port.

#include "fuzzcheck.h"
#include "serveraddress.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    const QString untouched = QStringLiteral("untouched");
    QString host = untouched;
    int port = -7;
    if (!ServerAddress::parse(text, &host, &port)) {
        FUZZ_CHECK(host == untouched && port == -7, text);
        return 0;
    }
    FUZZ_CHECK(!host.isEmpty(), text);
    FUZZ_CHECK(port >= -1 && port <= 65535, text);
    FuzzCheck::feedback(host);

    const QString shown = ServerAddress::toText(host, port);
    FUZZ_CHECK(shown.startsWith(QLatin1String("//")), text + QLatin1String(" -> ") + shown);
    FuzzCheck::feedback(shown);
    QString hostAgain;
    int portAgain = -7;
    FUZZ_CHECK(ServerAddress::parse(shown, &hostAgain, &portAgain),
               text + QLatin1String(" -> ") + shown);
    FUZZ_CHECK(hostAgain == host && portAgain == port,
               text + QLatin1String(" -> ") + shown + QLatin1String(" -> ") + hostAgain
                   + QLatin1Char(':') + QString::number(portAgain));
    return 0;
}
