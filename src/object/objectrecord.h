#pragma once

#include <QPointF>
#include <QString>
#include <QVariantMap>
#include <QVector>

#include <optional>

class QObject;

// A controller object of the host as plain values: what the object dialog
// shows, and what it writes back when it is accepted.
struct ObjectRecord
{
    // A row of the phases or programs table, as texts; a phase's schema path
    // is absolute, as the host stores it.
    struct Row
    {
        QString id;
        QString description;
        QString schema;
    };

    int id = 0;
    QString type;
    QString description;
    // Left untouched on the object when unset.
    std::optional<QPointF> position;
    QString schema;
    bool rcuControl = false;
    // Unset when the object cannot list them; then they are left alone too.
    std::optional<QVector<Row>> phases;
    std::optional<QVector<Row>> programs;
    // Written, with the signal-group use count, only when changed.
    quint32 eventMask = 0;
    bool eventMaskChanged = false;
    // Each entry a list of the value and the description. Once changed, the
    // object's custom properties that the map lacks are removed.
    QVariantMap customProperties;
    bool customPropertiesChanged = false;
};

// Reads the identifier, type, description, position, schema, RCU flag,
// phases and programs; nothing is written or called besides the two lists.
ObjectRecord readObject(QObject *object);

// Writes the record in the host's order: the properties, the phases (each
// new phase then gets its schema), the programs, a changed events mask and
// the custom properties. Lists are rebuilt only when the object can create
// their entries; a failed creation is logged and the next row tried. The
// object may go during any call: what follows then goes nowhere.
void writeObject(QObject *object, const ObjectRecord &record);
