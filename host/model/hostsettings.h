#pragma once

#include <QByteArray>
#include <QString>

// The host's own settings, in the user's scope: each key and its default
// named once here. They belong to the program, not to a project.
namespace HostSettings {

// Milliseconds between two simulated requests: Console/intervalMs, 350 by
// default, at least 50.
int consoleIntervalMs();
// Lines the traffic console keeps: Console/maximumLines, 2000 by default, at
// least 100.
int consoleMaximumLines();

// The main window's geometry and dock layout; empty on a first start.
QByteArray windowGeometry();
QByteArray windowState();
void setWindow(const QByteArray &geometry, const QByteArray &state);

// The INI file last opened in the settings editor, or `fallback`.
QString lastIniFile(const QString &fallback);
void setLastIniFile(const QString &fileName);

// Writes the console's defaults where they are missing, so that the settings
// editor has something to show.
void seedDefaults();

} // namespace HostSettings
