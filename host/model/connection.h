#pragma once

#include <QObject>
#include <QString>

namespace Arvel {

// The project's link to the controller server: where commands would be sent.
// The reference host answers them itself, so the address is only shown and kept.
class Connection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString remoteHost READ remoteHost WRITE setRemoteHost NOTIFY addressChanged)
    Q_PROPERTY(int remotePort READ remotePort WRITE setRemotePort NOTIFY addressChanged)

public:
    explicit Connection(QObject *parent = nullptr);

    QString remoteHost() const { return m_remoteHost; }
    void setRemoteHost(const QString &host);
    int remotePort() const { return m_remotePort; }
    void setRemotePort(int port);

    // "host:port", or the host alone when there is no port.
    QString address() const;

signals:
    void addressChanged();

private:
    QString m_remoteHost;
    int m_remotePort = -1;
};

} // namespace Arvel
