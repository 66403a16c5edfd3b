#include "light.h"

#include "commandcodes.h"
#include "phase.h"
#include "response.h"

#include <QRandomGenerator>
#include <QTimer>

namespace Arvel {

namespace {

// Answered responses stay readable this long for late readers, then go.
const int ResponseLifetimeMs = 60000;

template<typename T> QList<QObject *> asObjects(const QList<T *> &items)
{
    QList<QObject *> objects;
    objects.reserve(items.size());
    for (T *item : items)
        objects.append(item);
    return objects;
}

} // namespace

Light::Light(QObject *parent)
    : QObject(parent)
{
}

Light::~Light() = default;

void Light::setId(int id)
{
    if (id == m_id)
        return;
    m_id = id;
    emit changed();
}

void Light::setType(const QString &type)
{
    if (type == m_type)
        return;
    m_type = type;
    emit changed();
}

void Light::setDescription(const QString &text)
{
    if (text == m_description)
        return;
    m_description = text;
    emit changed();
}

void Light::setPosition(const QPointF &position)
{
    if (position == m_position)
        return;
    m_position = position;
    emit changed();
}

void Light::setShema(const QString &path)
{
    if (path == m_shema)
        return;
    m_shema = path;
    emit changed();
}

void Light::setRcdControl(bool on)
{
    if (on == m_rcdControl)
        return;
    m_rcdControl = on;
    emit changed();
}

void Light::setTloUseSgCnt(int count)
{
    if (count == m_tloUseSgCnt)
        return;
    m_tloUseSgCnt = count;
    emit changed();
}

void Light::setEventMask(uint mask)
{
    if (mask == m_eventMask)
        return;
    m_eventMask = mask;
    emit changed();
}

QList<QObject *> Light::phases() const
{
    return asObjects(m_phases);
}

QList<QObject *> Light::programs() const
{
    return asObjects(m_programs);
}

void Light::clearPhases()
{
    qDeleteAll(m_phases);
    m_phases.clear();
    emit changed();
}

void Light::clearPrograms()
{
    qDeleteAll(m_programs);
    m_programs.clear();
    emit changed();
}

QObject *Light::createPhase(int id, QString description)
{
    auto *phase = new Phase(id, description, this);
    m_phases.append(phase);
    emit changed();
    return phase;
}

QObject *Light::createProgram(int id, QString description)
{
    auto *program = new Program(id, description, this);
    m_programs.append(program);
    emit changed();
    return program;
}

QVariantMap Light::customProperties() const
{
    return m_customProperties;
}

void Light::setCustomProperty(QString name, QVariant value, QString description)
{
    if (!value.isValid()) {
        if (m_customProperties.remove(name) > 0)
            emit changed();
        return;
    }
    m_customProperties.insert(name, QVariantList{value, description});
    emit changed();
}

Response *Light::sendCommand(QVariant command, QVariant argument)
{
    auto *response = new Response(this);
    const int code = commandCode(command);
    bool error = false;
    QVariantList answer = controllerAnswer(m_controller, code, argument, &error);
    if (m_answers == Answers::None)
        return response;
    if (m_answers == Answers::Short)
        answer = answer.mid(0, 1);
    // A little jitter, so that answers to a burst of commands come back in
    // varying order, as they do from a real controller.
    const int delay = (m_answers == Answers::Slow ? 2000 : 0) + m_answerDelay
                      + int(QRandomGenerator::global()->bounded(m_answerDelay / 2 + 1));
    QTimer::singleShot(delay, response, [response, answer, error] {
        response->finish(answer, error);
        QTimer::singleShot(ResponseLifetimeMs, response, &QObject::deleteLater);
    });
    return response;
}

} // namespace Arvel
