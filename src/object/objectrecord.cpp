#include "objectrecord.h"

#include "hostcontract.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>

#include <limits>

namespace {

// Bit of the signal-group state notification: the host keeps a separate use
// count for it beside the mask.
constexpr quint32 SignalGroupBit = 0x20;

std::optional<QVector<ObjectRecord::Row>> readRows(QObject *object, const HostCall::Method &method,
                                                   bool withSchema)
{
    bool called = false;
    const QList<QObject *> items = HostCall::callFor<QList<QObject *>>(object, method, &called);
    if (!called)
        return std::nullopt;
    QVector<ObjectRecord::Row> rows;
    rows.reserve(items.size());
    for (const QObject *item : items) {
        rows.append({HostCall::read(item, Host::Item::Id).toString(),
                     HostCall::read(item, Host::Item::Description).toString(),
                     withSchema ? HostCall::read(item, Host::Item::Schema).toString() : QString()});
    }
    return rows;
}

void writePhases(const QPointer<QObject> &light, const QVector<ObjectRecord::Row> &rows)
{
    // Clearing an object that cannot rebuild its phases would only lose them.
    if (!HostCall::hasMethod(light, Host::Light::CreatePhase)
        || !HostCall::call(light.data(), Host::Light::ClearPhases))
        return;
    for (const ObjectRecord::Row &row : rows) {
        bool called = false;
        QObject *phase = HostCall::callFor<QObject *>(light.data(), Host::Light::CreatePhase,
                                                      &called, row.id.toInt(), row.description);
        if (!called) {
            qDebug().noquote() << QCoreApplication::translate("ObjectPropertiesDlg",
                                                              "Error creating phase");
            continue;
        }
        if (phase)
            HostCall::write(phase, Host::Item::Schema, row.schema);
    }
}

void writePrograms(const QPointer<QObject> &light, const QVector<ObjectRecord::Row> &rows)
{
    if (!HostCall::hasMethod(light, Host::Light::CreateProgram)
        || !HostCall::call(light.data(), Host::Light::ClearPrograms))
        return;
    for (const ObjectRecord::Row &row : rows) {
        if (!HostCall::call(light.data(), Host::Light::CreateProgram, row.id.toInt(),
                            row.description))
            qDebug().noquote() << QCoreApplication::translate("ObjectPropertiesDlg",
                                                              "Error creating program");
    }
}

void writeEventMask(const QPointer<QObject> &light, quint32 eventMask)
{
    const int useCount = HostCall::read(light, Host::Light::SignalGroupUseCount).toInt();
    // A count at the top of int stays there rather than wrap to a negative one.
    const int counted = useCount < std::numeric_limits<int>::max() ? useCount + 1 : useCount;
    HostCall::write(light, Host::Light::SignalGroupUseCount,
                    (eventMask & SignalGroupBit) ? counted : 0);
    HostCall::write(light, Host::Light::EventMask, QVariant::fromValue<quint32>(eventMask));
}

void writeCustomProperties(const QPointer<QObject> &light, const QVariantMap &properties,
                           bool changed)
{
    const QVariantMap stored =
        HostCall::callFor<QVariantMap>(light.data(), Host::Light::CustomProperties, nullptr);

    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        const QVariantList entry = it.value().toList();
        if (entry.size() < 2) {
            // Substituted by hand: a translated text must never act as a
            // format string.
            QString text =
                QCoreApplication::translate("ObjectPropertiesDlg", "Invalid propery %s value");
            text.replace(QLatin1String("%s"), it.key());
            qWarning("%s", text.toLocal8Bit().constData());
            continue;
        }
        HostCall::call(light.data(), Host::Light::SetCustomProperty, it.key(), entry.at(0),
                       entry.at(1).toString());
    }

    if (!changed)
        return;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!properties.contains(it.key()))
            HostCall::call(light.data(), Host::Light::RemoveCustomProperty, it.key(), QVariant());
    }
}

} // namespace

ObjectRecord readObject(QObject *object)
{
    ObjectRecord record;
    record.id = HostCall::read(object, Host::Light::Id).toInt();
    record.type = HostCall::read(object, Host::Light::Type).toString();
    record.description = HostCall::read(object, Host::Light::Description).toString();
    record.position = HostCall::read(object, Host::Light::Position).toPointF();
    record.schema = HostCall::read(object, Host::Light::Schema).toString();
    record.rcuControl = HostCall::read(object, Host::Light::RcdControl).toBool();
    record.phases = readRows(object, Host::Light::Phases, true);
    record.programs = readRows(object, Host::Light::Programs, false);
    return record;
}

void writeObject(QObject *object, const ObjectRecord &record)
{
    const QPointer<QObject> light(object);
    HostCall::write(light, Host::Light::Id, record.id);
    HostCall::write(light, Host::Light::Type, record.type);
    HostCall::write(light, Host::Light::Description, record.description);
    if (record.position)
        HostCall::write(light, Host::Light::Position, *record.position);
    HostCall::write(light, Host::Light::Schema, record.schema);
    HostCall::write(light, Host::Light::RcdControl, record.rcuControl ? 1 : 0);
    if (record.phases)
        writePhases(light, *record.phases);
    if (record.programs)
        writePrograms(light, *record.programs);
    if (record.eventMaskChanged)
        writeEventMask(light, record.eventMask);
    writeCustomProperties(light, record.customProperties, record.customPropertiesChanged);
}
