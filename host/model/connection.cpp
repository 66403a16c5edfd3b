#include "connection.h"

namespace Arvel {

Connection::Connection(QObject *parent)
    : QObject(parent)
{
}

void Connection::setRemoteHost(const QString &host)
{
    if (host == m_remoteHost)
        return;
    m_remoteHost = host;
    emit addressChanged();
}

void Connection::setRemotePort(int port)
{
    if (port == m_remotePort)
        return;
    m_remotePort = port;
    emit addressChanged();
}

QString Connection::address() const
{
    if (m_remotePort < 0)
        return m_remoteHost;
    return QStringLiteral("%1:%2").arg(m_remoteHost).arg(m_remotePort);
}

} // namespace Arvel
