#include "hostsettings.h"

#include <QSettings>
#include <QtGlobal>

namespace HostSettings {

namespace {

struct Number
{
    const char *key;
    int fallback;
    int minimum;
};

const Number ConsoleInterval{"Console/intervalMs", 350, 50};
const Number ConsoleLines{"Console/maximumLines", 2000, 100};
const char WindowGeometry[] = "MainWindow/geometry";
const char WindowState[] = "MainWindow/state";
const char LastIniFile[] = "Paths/lastIniFile";

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

int read(const Number &number)
{
    return qMax(number.minimum, QSettings().value(key(number.key), number.fallback).toInt());
}

} // namespace

int consoleIntervalMs()
{
    return read(ConsoleInterval);
}

int consoleMaximumLines()
{
    return read(ConsoleLines);
}

QByteArray windowGeometry()
{
    return QSettings().value(key(WindowGeometry)).toByteArray();
}

QByteArray windowState()
{
    return QSettings().value(key(WindowState)).toByteArray();
}

void setWindow(const QByteArray &geometry, const QByteArray &state)
{
    QSettings settings;
    settings.setValue(key(WindowGeometry), geometry);
    settings.setValue(key(WindowState), state);
}

QString lastIniFile(const QString &fallback)
{
    return QSettings().value(key(LastIniFile), fallback).toString();
}

void setLastIniFile(const QString &fileName)
{
    QSettings().setValue(key(LastIniFile), fileName);
}

void seedDefaults()
{
    QSettings settings;
    for (const Number &number : {ConsoleInterval, ConsoleLines}) {
        if (!settings.contains(key(number.key)))
            settings.setValue(key(number.key), number.fallback);
    }
}

} // namespace HostSettings
