#pragma once

#include <QList>
#include <QString>

// One row of the controller vocabulary: a request command (its code, its
// Latin name) or a notification (its id, which is also its bit in an events
// mask, and its Russian name), with a Russian description that may be empty.
struct CommandDesc
{
    int code = 0;
    QString name;
    QString description;
};

// The fixed vocabulary of the traffic between the host and its controllers,
// in the order of the check boxes built from it; never translated.
namespace CommandTables {

// The 40 request commands.
QList<CommandDesc> requests();

// The 16 notifications, ids 0 to 15 in order.
QList<CommandDesc> notifications();

} // namespace CommandTables
