#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

namespace Arvel {

class Project;

struct TrafficMessage
{
    enum class Kind { Request, Response, Notification };

    Kind kind = Kind::Request;
    QDateTime time;
    int lightId = 0;
    int command = 0;        // request and response: the request's command code
    bool error = false;     // response: the controller refused or did not answer
    int notificationId = 0; // notification: 0..15
};

// Simulated traffic with the project's controllers: requests, their answers
// (now and then an error) and notifications, at a steady interval.
class TrafficSimulator : public QObject
{
    Q_OBJECT

public:
    explicit TrafficSimulator(QObject *parent = nullptr);

    void setProject(Project *project);
    void setSeed(quint32 seed) { m_random.seed(seed); }
    void start(int intervalMs = 350);
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

signals:
    void message(const Arvel::TrafficMessage &message);

private:
    void tick();

    QPointer<Project> m_project;
    QTimer m_timer;
    QRandomGenerator m_random;
};

} // namespace Arvel
