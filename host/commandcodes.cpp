#include "commandcodes.h"

#include <QVariant>

namespace Arvel {

// A local copy of part of the protocol vocabulary; the full tables with their
// descriptions belong to the plug-in's command library.
const QVector<CommandCode> &requestCommands()
{
    static const QVector<CommandCode> commands = {
        {0x1000, QStringLiteral("SET_LOCAL")},  {0x1001, QStringLiteral("SET_PHASE")},
        {0x1002, QStringLiteral("SET_PROG")},   {0x1004, QStringLiteral("SET_YF")},
        {0x1008, QStringLiteral("SET_TIME")},   {0x100b, QStringLiteral("SET_EVENT")},
        {0x10001010, QStringLiteral("SET_TDTIME")}, {0x1014, QStringLiteral("SET_PASSKY")},
        {0x1301, QStringLiteral("DAT_TRANSF")}, {0x1100, QStringLiteral("GET_STAT")},
        {0x1101, QStringLiteral("GET_REFER")},  {0x1103, QStringLiteral("GET_SENS")},
        {0x1106, QStringLiteral("GET_DATE")},   {0x110a, QStringLiteral("GET_DEVICE")},
        {0x110b, QStringLiteral("GET_CLIST")},  {0x1110, QStringLiteral("GET_POWER")},
        {0x1300, QStringLiteral("DAT_SERV")},
    };
    return commands;
}

const QVector<CommandCode> &notificationKinds()
{
    static const QVector<CommandCode> kinds = {
        {0, QStringLiteral("Включение")},
        {1, QStringLiteral("Авария")},
        {2, QStringLiteral("Ошибка")},
        {3, QStringLiteral("Состояние")},
        {4, QStringLiteral("Фаза")},
        {5, QStringLiteral("Группа")},
        {6, QStringLiteral("Ключ")},
        {7, QStringLiteral("Детектор")},
        {8, QStringLiteral("ТВП")},
        {9, QStringLiteral("Источник запросов")},
        {10, QStringLiteral("Запись в журнал")},
        {11, QStringLiteral("Попытка восстановления")},
        {12, QStringLiteral("Сообщение от устройства")},
        {13, QStringLiteral("Ключ доступа")},
        {14, QStringLiteral("Параметр вне допуска")},
        {15, QStringLiteral("Данные о транспортном потоке")},
    };
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
    return QStringLiteral("0x%1").arg(code, 0, 16);
}

QString notificationName(int id)
{
    const QVector<CommandCode> &kinds = notificationKinds();
    if (id >= 0 && id < kinds.size())
        return kinds.at(id).name;
    return QString::number(id);
}

} // namespace Arvel
