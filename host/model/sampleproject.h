#pragma once

#include <QString>
#include <QVariantMap>

class QObject;

namespace Arvel {

class Project;

// A small project of five controllers around one city centre, with phases,
// programs, custom properties and schema drawings, kept in `baseDir`: the
// drawings under schemas/<id>/, the project's settings in project.ini and,
// when the program carries the resource :/sample/city.mbtiles, the sample's
// map in tiles/city.mbtiles.
// Files that exist already are left as they are, and so are the `settings`
// that the project starts with (key paths, as an older host left them).
Project *createSampleProject(const QString &baseDir, const QVariantMap &settings = QVariantMap(),
                             QObject *parent = nullptr);

} // namespace Arvel
