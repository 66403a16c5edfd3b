#include "standinhost.h"

#include <QDynamicPropertyChangeEvent>
#include <QPointF>

RecordingObject::RecordingObject(QStringList *log, const QString &label, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_label(label)
{
}

void RecordingObject::preset(const char *name, const QVariant &value)
{
    m_values.insert(QString::fromLatin1(name), value);
}

QString RecordingObject::describe(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("invalid");
    QString text = value.toString();
    if (value.userType() == QMetaType::QPointF) {
        const QPointF point = value.toPointF();
        text = QStringLiteral("%1;%2").arg(point.x()).arg(point.y());
    }
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(value.typeName()), text);
}

QVariant RecordingObject::value(const char *name) const
{
    return m_values.value(QString::fromLatin1(name));
}

void RecordingObject::write(const char *name, const QVariant &value)
{
    record(QStringLiteral("%1 = %2").arg(QString::fromLatin1(name), describe(value)));
    m_values.insert(QString::fromLatin1(name), value);
}

void RecordingObject::record(const QString &entry)
{
    m_log->append(m_label + QLatin1Char('.') + entry);
}

bool RecordingObject::event(QEvent *event)
{
    if (event->type() == QEvent::DynamicPropertyChange) {
        const QByteArray name = static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName();
        record(QStringLiteral("%1 = %2 (undeclared)")
                   .arg(QString::fromLatin1(name), describe(property(name.constData()))));
    }
    return QObject::event(event);
}

namespace Arvel {

Project::Project(QStringList *log, QObject *parent)
    : RecordingObject(log, QStringLiteral("project"), parent)
{
}

bool Project::contains(int id)
{
    record(QStringLiteral("contains(%1)").arg(id));
    return ids.contains(id);
}

LightProperties::LightProperties(QStringList *log, QObject *parent)
    : RecordingObject(log, QStringLiteral("light"), parent)
{
}

ListItem *LightProperties::makeItem(const QString &kind, int id, const QString &description)
{
    auto *item = new ListItem(log(), kind + QString::number(id), this);
    item->preset("id", id);
    item->preset("description", description);
    return item;
}

void LightProperties::presetPhase(int id, const QString &description, const QString &shema)
{
    ListItem *phase = makeItem(QStringLiteral("phase"), id, description);
    phase->preset("shema", shema);
    m_phases.append(phase);
}

void LightProperties::presetProgram(int id, const QString &description)
{
    m_programs.append(makeItem(QStringLiteral("program"), id, description));
}

QList<QObject *> Light::phases()
{
    record(QStringLiteral("phases()"));
    return m_phases;
}

QList<QObject *> Light::programs()
{
    record(QStringLiteral("programs()"));
    return m_programs;
}

void Light::clearPhases()
{
    record(QStringLiteral("clearPhases()"));
    qDeleteAll(m_phases);
    m_phases.clear();
}

void Light::clearPrograms()
{
    record(QStringLiteral("clearPrograms()"));
    qDeleteAll(m_programs);
    m_programs.clear();
}

QObject *Light::createPhase(int id, const QString &description)
{
    record(QStringLiteral("createPhase(%1, %2)").arg(id).arg(description));
    ListItem *phase = makeItem(QStringLiteral("phase"), id, description);
    m_phases.append(phase);
    return phase;
}

void Light::createProgram(int id, const QString &description)
{
    record(QStringLiteral("createProgram(%1, %2)").arg(id).arg(description));
    m_programs.append(makeItem(QStringLiteral("program"), id, description));
}

QVariantMap Light::customProperties()
{
    record(QStringLiteral("customProperties()"));
    return storedCustomProperties;
}

void Light::setCustomProperty(const QString &name, const QVariant &value,
                              const QString &description)
{
    record(QStringLiteral("setCustomProperty(%1, %2, %3)").arg(name, describe(value), description));
    if (value.isValid())
        storedCustomProperties.insert(name, QVariantList{value, description});
    else
        storedCustomProperties.remove(name);
}

Response *Light::sendCommand(const QVariant &command, const QVariant &argument)
{
    QString text = describe(argument);
    if (argument.userType() == QMetaType::QVariantList) {
        QStringList items;
        const QVariantList list = argument.toList();
        for (const QVariant &item : list)
            items.append(describe(item));
        text = QStringLiteral("QVariantList [%1]").arg(items.join(QStringLiteral(", ")));
    }
    record(QStringLiteral("sendCommand(%1, %2)").arg(describe(command), text));

    QString key = command.toString();
    if (key == QLatin1String("GET_CLIST"))
        key += QLatin1Char(' ') + argument.toString();
    if (refusedCommands.contains(key))
        return nullptr;
    if (reuseResponses) {
        Response *pending = response(key);
        if (pending && pending->data().isEmpty())
            return pending;
    }
    auto *created = new Response(this);
    responses.append(created);
    responseKeys.append(key);
    return created;
}

Response *Light::response(const QString &key) const
{
    const int index = responseKeys.lastIndexOf(key);
    return index < 0 ? nullptr : responses.at(index).data();
}

int LightWithForeignPhases::createPhase(int id, const QString &description)
{
    record(QStringLiteral("createPhase(%1, %2) returning a number").arg(id).arg(description));
    return id;
}

QList<QObject *> LightWithoutLists::programs()
{
    record(QStringLiteral("programs()"));
    return m_programs;
}

void LightWithoutLists::clearPhases()
{
    record(QStringLiteral("clearPhases()"));
}

void LightWithoutLists::clearPrograms()
{
    record(QStringLiteral("clearPrograms()"));
}

QVariantMap LightWithoutLists::customProperties()
{
    record(QStringLiteral("customProperties()"));
    return {};
}

} // namespace Arvel
