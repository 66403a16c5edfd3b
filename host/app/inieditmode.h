#pragma once

#include <QString>

// `editor2-host --edit-ini FILE`: the plug-in's settings editor on one INI
// file and nothing else, so that the host serves as a stand-alone INI editor.
namespace IniEditMode {

enum ExitCode { Accepted = 0, Cancelled = 1, NoEditor = 2 };

// Loads the plug-in, runs its editor on `fileName` and returns Accepted when
// the user pressed OK (the file was saved, or needed no saving), Cancelled
// when the editor was closed otherwise, NoEditor when it could not be shown.
int run(const QString &fileName);

} // namespace IniEditMode
