#pragma once

#include <QObject>
#include <QVariantList>

// The answer to one command sent to a controller. It is handed out at once,
// empty, and emits finished() when `data` holds the answer's fields. The host
// owns it; it stays alive until finished() and for a while afterwards.
class Response : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList data READ data)
    Q_PROPERTY(bool error READ error)

public:
    explicit Response(QObject *parent = nullptr);

    QVariantList data() const { return m_data; }
    bool error() const { return m_error; }
    bool isFinished() const { return m_finished; }

    // Stores the answer and emits finished(); a second call does nothing.
    void finish(const QVariantList &data, bool error = false);

signals:
    void finished();

private:
    QVariantList m_data;
    bool m_error = false;
    bool m_finished = false;
};
