#include "trafficsimulator.h"

#include "commandcodes.h"
#include "light.h"
#include "project.h"

namespace Arvel {

TrafficSimulator::TrafficSimulator(QObject *parent)
    : QObject(parent)
    , m_random(20240611u)
{
    connect(&m_timer, &QTimer::timeout, this, &TrafficSimulator::tick);
}

void TrafficSimulator::setProject(Project *project)
{
    m_project = project;
}

void TrafficSimulator::start(int intervalMs)
{
    m_timer.start(intervalMs);
}

void TrafficSimulator::stop()
{
    m_timer.stop();
}

void TrafficSimulator::tick()
{
    if (!m_project)
        return;
    const QList<Light *> lights = m_project->lights();
    if (lights.isEmpty())
        return;
    const int lightId = lights.at(int(m_random.bounded(lights.size())))->id();
    const QVector<CommandCode> &commands = requestCommands();
    // Status polling makes up much of the real traffic.
    const int command = m_random.bounded(5) < 2
                            ? commandCode(QStringLiteral("GET_STAT"))
                            : commands.at(int(m_random.bounded(commands.size()))).code;

    TrafficMessage request;
    request.kind = TrafficMessage::Kind::Request;
    request.time = QDateTime::currentDateTime();
    request.lightId = lightId;
    request.command = command;
    emit message(request);

    TrafficMessage answer = request;
    answer.kind = TrafficMessage::Kind::Response;
    answer.error = m_random.bounded(10) == 0;
    QTimer::singleShot(40 + int(m_random.bounded(120)), this, [this, answer]() mutable {
        answer.time = QDateTime::currentDateTime();
        emit message(answer);
    });

    if (m_random.bounded(5) == 0) {
        TrafficMessage notification;
        notification.kind = TrafficMessage::Kind::Notification;
        notification.lightId = lights.at(int(m_random.bounded(lights.size())))->id();
        notification.notificationId = int(m_random.bounded(16));
        QTimer::singleShot(int(m_random.bounded(300)), this, [this, notification]() mutable {
            notification.time = QDateTime::currentDateTime();
            emit message(notification);
        });
    }
}

} // namespace Arvel
