#pragma once

#include <QString>

// Schema drawings are stored with absolute paths and shown relative to the
// project's base folder. Both conversions hand back their input unchanged
// when it or the base folder is empty.
namespace SchemaPath {

// The path relative to baseDir, or the path itself when no relative form
// comes out (for instance the base folder itself).
QString toRelativePath(const QString &baseDir, const QString &path);

// The path resolved against baseDir, with "." and ".." removed.
QString toAbsolutePath(const QString &baseDir, const QString &path);

} // namespace SchemaPath
