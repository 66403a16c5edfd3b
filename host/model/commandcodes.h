#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

namespace Arvel {

// The controller commands and notifications that the host's simulated traffic
// uses: a command code with its name, a notification id with its name.
struct CommandCode
{
    int code = 0;
    QString name;
};

// The request commands of the controller protocol, in protocol order.
const QVector<CommandCode> &requestCommands();
// The sixteen notifications, ids 0 to 15.
const QVector<CommandCode> &notificationKinds();

// The command's code for a name or a numeric code given as text or number;
// -1 when the command is not known.
int commandCode(const QVariant &command);
QString commandName(int code);
QString notificationName(int id);

} // namespace Arvel
