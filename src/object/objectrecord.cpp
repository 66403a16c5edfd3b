#include "objectrecord.h"

#include "hostcall.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>

#include <limits>

namespace {

// Bit of the signal-group state notification: the host keeps a separate use
// count for it beside the mask.
constexpr quint32 SignalGroupBit = 0x20;

std::optional<QVector<ObjectRecord::Row>> readRows(QObject *object, const char *method,
                                                   bool withSchema)
{
    bool called = false;
    const QList<QObject *> items = HostCall::callFor<QList<QObject *>>(object, method, &called);
    if (!called)
        return std::nullopt;
    QVector<ObjectRecord::Row> rows;
    rows.reserve(items.size());
    for (const QObject *item : items) {
        rows.append({HostCall::read(item, "id").toString(),
                     HostCall::read(item, "description").toString(),
                     withSchema ? HostCall::read(item, "shema").toString() : QString()});
    }
    return rows;
}

void writePhases(const QPointer<QObject> &light, const QVector<ObjectRecord::Row> &rows)
{
    // Clearing an object that cannot rebuild its phases would only lose them.
    if (!HostCall::hasMethod(light, "createPhase(int,QString)")
        || !HostCall::call(light.data(), "clearPhases"))
        return;
    for (const ObjectRecord::Row &row : rows) {
        bool called = false;
        QObject *phase = HostCall::callFor<QObject *>(light.data(), "createPhase", &called,
                                                      row.id.toInt(), row.description);
        if (!called) {
            qDebug().noquote() << QCoreApplication::translate("ObjectPropertiesDlg",
                                                              "Error creating phase");
            continue;
        }
        if (phase)
            HostCall::write(phase, "shema", row.schema);
    }
}

void writePrograms(const QPointer<QObject> &light, const QVector<ObjectRecord::Row> &rows)
{
    if (!HostCall::hasMethod(light, "createProgram(int,QString)")
        || !HostCall::call(light.data(), "clearPrograms"))
        return;
    for (const ObjectRecord::Row &row : rows) {
        if (!HostCall::call(light.data(), "createProgram", row.id.toInt(), row.description))
            qDebug().noquote() << QCoreApplication::translate("ObjectPropertiesDlg",
                                                              "Error creating program");
    }
}

void writeEventMask(const QPointer<QObject> &light, quint32 eventMask)
{
    const int useCount = HostCall::read(light, "tlo_use_sg_cnt").toInt();
    // A count at the top of int stays there rather than wrap to a negative one.
    const int counted = useCount < std::numeric_limits<int>::max() ? useCount + 1 : useCount;
    HostCall::write(light, "tlo_use_sg_cnt", (eventMask & SignalGroupBit) ? counted : 0);
    HostCall::write(light, "eventMask", QVariant::fromValue<quint32>(eventMask));
}

void writeCustomProperties(const QPointer<QObject> &light, const QVariantMap &properties,
                           bool changed)
{
    const QVariantMap stored =
        HostCall::callFor<QVariantMap>(light.data(), "customProperties", nullptr);

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
        HostCall::call(light.data(), "setCustomProperty", it.key(), entry.at(0),
                       entry.at(1).toString());
    }

    if (!changed)
        return;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!properties.contains(it.key()))
            HostCall::call(light.data(), "setCustomProperty", it.key(), QVariant());
    }
}

} // namespace

ObjectRecord readObject(QObject *object)
{
    ObjectRecord record;
    record.id = HostCall::read(object, "id").toInt();
    record.type = HostCall::read(object, "type").toString();
    record.description = HostCall::read(object, "description").toString();
    record.position = HostCall::read(object, "position").toPointF();
    record.schema = HostCall::read(object, "shema").toString();
    record.rcuControl = HostCall::read(object, "RcdControl").toBool();
    record.phases = readRows(object, "phases", true);
    record.programs = readRows(object, "programs", false);
    return record;
}

void writeObject(QObject *object, const ObjectRecord &record)
{
    const QPointer<QObject> light(object);
    HostCall::write(light, "id", record.id);
    HostCall::write(light, "type", record.type);
    HostCall::write(light, "description", record.description);
    if (record.position)
        HostCall::write(light, "position", *record.position);
    HostCall::write(light, "shema", record.schema);
    HostCall::write(light, "RcdControl", record.rcuControl ? 1 : 0);
    if (record.phases)
        writePhases(light, *record.phases);
    if (record.programs)
        writePrograms(light, *record.programs);
    if (record.eventMaskChanged)
        writeEventMask(light, record.eventMask);
    writeCustomProperties(light, record.customProperties, record.customPropertiesChanged);
}
