#include "hostpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HostPaths {

namespace {

QString besideProgram(const char *relative)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QString::fromUtf8(relative));
}

} // namespace

QStringList pluginCandidates()
{
    return {besideProgram("editor2"), besideProgram(EDITOR2_PLUGIN_FROM_BINDIR "/editor2")};
}

QString translationsDir()
{
    const QString built = besideProgram("translations");
    if (QFileInfo(built).isDir())
        return built;
    return besideProgram(EDITOR2_TRANSLATIONS_FROM_BINDIR);
}

} // namespace HostPaths
