#pragma once

#include <QString>

// The controller server's address as the project dialog shows and reads it:
// a URL without scheme, "//host:port".
namespace ServerAddress {

// "//host:port", or "//host" when the port is negative.
QString toText(const QString &host, int port);

// Takes host and port from what the user typed. The leading "//" may be left
// out ("10.0.0.5:4000"), and a port may be missing (port -1). False, with
// *host and *port untouched, when the text names no host, a host that could
// not be shown again by toText, or a port that is not a number from 0 to
// 65535.
bool parse(const QString &text, QString *host, int *port);

} // namespace ServerAddress
