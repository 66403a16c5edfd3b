#include "commandcodes.h"

#include <commandtables.h>

#include <QVariant>

namespace Arvel {

namespace {

QVector<CommandCode> fromTable(const QList<CommandDesc> &table)
{
    QVector<CommandCode> codes;
    codes.reserve(table.size());
    for (const CommandDesc &row : table)
        codes.append(CommandCode{row.code, row.name});
    return codes;
}

} // namespace

// The protocol's vocabulary is shared with the editor through its Core-only
// tables; the host keeps only the code and the name.
const QVector<CommandCode> &requestCommands()
{
    static const QVector<CommandCode> commands = fromTable(CommandTables::requests());
    return commands;
}

const QVector<CommandCode> &notificationKinds()
{
    static const QVector<CommandCode> kinds = fromTable(CommandTables::notifications());
    return kinds;
}

int commandCode(const QVariant &command)
{
    const QString text = command.toString().trimmed();
    for (const CommandCode &entry : requestCommands()) {
        if (entry.name.compare(text, Qt::CaseInsensitive) == 0)
            return entry.code;
    }
    bool ok = false;
    const int code = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                         ? text.mid(2).toInt(&ok, 16)
                         : text.toInt(&ok, 10);
    if (!ok)
        return -1;
    for (const CommandCode &entry : requestCommands()) {
        if (entry.code == code)
            return code;
    }
    return -1;
}

QString commandName(int code)
{
    for (const CommandCode &entry : requestCommands()) {
        if (entry.code == code)
            return entry.name;
    }
    return QStringLiteral("0x%1").arg(uint(code), 0, 16);
}

QString notificationName(int id)
{
    for (const CommandCode &entry : notificationKinds()) {
        if (entry.code == id)
            return entry.name;
    }
    return QString::number(id);
}

} // namespace Arvel
