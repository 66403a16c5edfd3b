#include "drawingfolder.h"

#include <QDir>
#include <QFileInfo>

namespace DrawingFolder {

const QStringList &objectSchemaNames()
{
    static const QStringList names = {
        QStringLiteral("main.svg"), QStringLiteral("main.wmf"), QStringLiteral("main.emf"),
        QStringLiteral("bg.svg"),   QStringLiteral("bg.wmf"),   QStringLiteral("bg.emf"),
    };
    return names;
}

QString objectSchema(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : objectSchemaNames()) {
        const QString path = dir.absoluteFilePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool phaseNumber(const QString &fileName, int *number)
{
    const int dot = fileName.indexOf(QLatin1Char('.'));
    const QString baseName = dot < 0 ? fileName : fileName.left(dot);
    bool ok = false;
    const int result = baseName.mid(5).toInt(&ok, 10);
    if (ok && number)
        *number = result;
    return ok;
}

QVector<PhaseFile> phaseFiles(const QString &folder)
{
    // Name filters of QDir ignore letter case unless told otherwise.
    const QDir dir(folder, QStringLiteral("phase*.svg"), QDir::Name | QDir::IgnoreCase,
                   QDir::AllEntries);
    const QFileInfoList entries = dir.entryInfoList();
    QVector<PhaseFile> files;
    files.reserve(entries.size());
    for (const QFileInfo &entry : entries) {
        PhaseFile file;
        file.path = entry.absoluteFilePath();
        file.numbered = phaseNumber(entry.fileName(), &file.number);
        files.append(file);
    }
    return files;
}

} // namespace DrawingFolder
