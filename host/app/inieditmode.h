#pragma once

#include <QString>

// `editor2-host --edit-ini FILE`: the plug-in's settings editor on one INI
// file and nothing else, so that the host serves as a stand-alone INI editor.
namespace IniEditMode {

enum ExitCode { Accepted = 0, Cancelled = 1, NoEditor = 2 };

// Why the editor cannot be shown on `fileName`, as one line for standard
// error naming the path and the cause; empty when it can: on a file it can
// read, or on a new file in an existing folder.
QString pathProblem(const QString &fileName);

// Loads the plug-in, runs its editor on `fileName` and returns Accepted when
// the user pressed OK (the file was saved, or needed no saving; a new file
// exists after it), Cancelled when the editor was closed otherwise, NoEditor
// when it could not be shown, on a path it cannot edit among others.
int run(const QString &fileName);

} // namespace IniEditMode
