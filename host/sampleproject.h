#pragma once

#include <QString>

class QObject;

namespace Arvel {

class Project;

// A small project of five controllers around one city centre, with phases,
// programs, custom properties and schema drawings, kept in `baseDir`: the
// drawings under schemas/<id>/ and the project's settings in project.ini.
// Files that exist already are left as they are.
Project *createSampleProject(const QString &baseDir, QObject *parent = nullptr);

} // namespace Arvel
