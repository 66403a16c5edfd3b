#include "schemapath.h"

#include <QDir>

namespace SchemaPath {

QString toRelativePath(const QString &baseDir, const QString &path)
{
    if (path.isEmpty() || baseDir.isEmpty())
        return path;
    const QString relative = QDir(baseDir).relativeFilePath(path);
    return relative.isEmpty() ? path : relative;
}

QString toAbsolutePath(const QString &baseDir, const QString &path)
{
    if (path.isEmpty() || baseDir.isEmpty())
        return path;
    const QString absolute = QDir::cleanPath(QDir(baseDir).absoluteFilePath(path));
    return absolute.isEmpty() ? path : absolute;
}

} // namespace SchemaPath
