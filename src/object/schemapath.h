#pragma once

#include <QDir>
#include <QString>

// Schema drawings are stored with absolute paths and shown relative to the
// project's base folder. Both conversions hand back their input unchanged
// when it or the base folder is empty.
namespace SchemaPath {

// The path relative to baseDir as QDir::relativeFilePath gives it, or the
// path itself when that comes out empty.
QString toRelativePath(const QString &baseDir, const QString &path);

// The path resolved against baseDir, with "." and ".." removed.
QString toAbsolutePath(const QString &baseDir, const QString &path);

// The same conversions for many paths against one base folder, which is
// resolved once.
class Base
{
public:
    explicit Base(const QString &baseDir);

    QString toRelativePath(const QString &path) const;
    QString toAbsolutePath(const QString &path) const;

private:
    QString m_baseDir;
    QDir m_dir;
    // The clean absolute base folder with a trailing "/".
    QString m_prefix;
};

} // namespace SchemaPath
