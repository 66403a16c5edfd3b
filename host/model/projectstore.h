#pragma once

#include <QByteArray>
#include <QString>

class QObject;

namespace Arvel {

class Light;
class Project;

// A project kept in a folder: project.ini (everything the editor can change,
// drawing paths relative to the folder) beside the drawings. A failed save
// leaves the previous file byte for byte, a file that cannot be read is never
// written over, and one that another program changed only when asked to.
namespace ProjectStore {

enum class IfChangedOnDisk { Refuse, Overwrite };

// The settings file of the project kept in `folder`.
QString fileName(const QString &folder);

// The project kept in `folder`. A folder without a project (or with only the
// map settings of an older host) gets the sample project, saved at once.
// When the project file cannot be read, *error says why and the project is
// empty; otherwise *error is cleared. Never null.
Project *open(const QString &folder, QString *error, QObject *parent = nullptr);

// Reads the project file `fileName`: null, with *error set, when it cannot
// be read or holds no project.
Project *load(const QString &fileName, QString *error, QObject *parent = nullptr);

// Reads the project again from its file (after the file was edited), in
// place of everything it holds, unsaved changes included. When the file
// cannot be read or holds no project, returns false with *error set and
// leaves the project as it was.
bool reload(Project *project, QString *error);

// Whether the project's file changed on disk since it was last read or
// written here: another program wrote it. A file that is gone has not
// changed, since saving overwrites nothing then.
bool changedOnDisk(const Project *project);

// Writes the project into its file and clears its `changed` flag; the file
// is replaced only once its new content was written whole. On failure
// returns false with *error set (naming the file and the cause) and leaves
// the flag as it was. A file changed on disk is a failure unless `ifChanged`
// says to overwrite it. *note (when given) tells where an unreadable file was
// kept, if one was.
bool save(Project *project, QString *error, QString *note = nullptr,
          IfChangedOnDisk ifChanged = IfChangedOnDisk::Refuse);

// What saving keeps of `light` in a project based in `baseDir`: two records
// are equal exactly when saving would write the same entry.
QByteArray lightRecord(const Light *light, const QString &baseDir);

} // namespace ProjectStore

} // namespace Arvel
