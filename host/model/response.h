#pragma once

#include <QObject>
#include <QVariantList>

// The answer to one command, handed out empty: finished() says that `data`
// holds the answer's fields. It stays alive a while after that.
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
