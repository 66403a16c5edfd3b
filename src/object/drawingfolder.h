#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A folder of a controller's drawings: the object's schema under one of a few
// fixed names, and one "phase<number>.svg" per phase. Files are only looked
// at, never opened.
namespace DrawingFolder {

// The names the object's schema may have, in order of preference.
const QStringList &objectSchemaNames();

// The absolute path of the first of those names that exists in the folder
// (as a file or any other entry), or an empty text.
QString objectSchema(const QString &folder);

// The phase number in a phase file's name: its base name (up to the first
// dot) without the first five characters, as a decimal integer.
bool phaseNumber(const QString &fileName, int *number);

struct PhaseFile
{
    QString path;   // absolute
    int number = 0; // valid only when numbered
    bool numbered = false;
};

// Every entry of the folder whose name matches "phase*.svg" whatever the
// letter case, sorted by name ignoring case, character by character (so
// "phase10.svg" comes before "phase2.svg"). Entries without a phase number
// are listed too, not numbered.
QVector<PhaseFile> phaseFiles(const QString &folder);

} // namespace DrawingFolder
