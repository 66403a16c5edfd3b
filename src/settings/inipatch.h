#pragma once

#include "inidocument.h"
#include "settingstree.h"

#include <QByteArray>

// Saving an edited tree into the lines it was read from: only the lines of
// changed, removed and renamed keys and sections change, added keys go after
// the last key of their section (a new section at the end of the file), and
// every other byte stays as it was.
namespace IniPatch {

// `document` with the edits that turn the tree read from it into `edited`,
// whose nodes name where they were read. Lines QSettings skips stay as they
// are, unless a removed section takes them along. Null when a key the tree
// read has no line in the document (the tree was read from other bytes), or
// when a new section would change the open last line that QSettings skips.
// QSettings must read the result back before it is trusted: a file it cannot
// be read back from exactly is rewritten whole.
QByteArray patched(const IniDocument &document, const SettingsNodes &edited);

} // namespace IniPatch
