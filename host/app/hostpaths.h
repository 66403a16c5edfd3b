#pragma once

#include <QString>
#include <QStringList>

// Where the host finds the editor plug-in and the translations: beside the
// program in a build tree, or in the installed layout, relative to the
// program's own folder, so that an installed tree runs from any prefix.
namespace HostPaths {

// The plug-in's base names to try, in order (QPluginLoader adds "lib" and ".so").
QStringList pluginCandidates();

// The folder of the .qm files of the plug-in and of the host.
QString translationsDir();

} // namespace HostPaths
