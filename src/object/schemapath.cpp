#include "schemapath.h"

namespace SchemaPath {

QString toRelativePath(const QString &baseDir, const QString &path)
{
    return Base(baseDir).toRelativePath(path);
}

QString toAbsolutePath(const QString &baseDir, const QString &path)
{
    return Base(baseDir).toAbsolutePath(path);
}

Base::Base(const QString &baseDir)
    : m_baseDir(baseDir)
    , m_dir(baseDir)
{
    if (!baseDir.isEmpty())
        m_prefix = QDir::cleanPath(m_dir.absolutePath()) + QLatin1Char('/');
}

QString Base::toRelativePath(const QString &path) const
{
    if (path.isEmpty() || m_baseDir.isEmpty())
        return path;
    // Most stored paths lie inside the base folder: then the relative form is
    // the rest of the path, exactly as QDir computes it, without its cost.
    if (path.size() > m_prefix.size() && path.startsWith(m_prefix) && QDir::cleanPath(path) == path)
        return path.mid(m_prefix.size());
    const QString relative = m_dir.relativeFilePath(path);
    return relative.isEmpty() ? path : relative;
}

QString Base::toAbsolutePath(const QString &path) const
{
    if (path.isEmpty() || m_baseDir.isEmpty())
        return path;
    const QString absolute = QDir::cleanPath(m_dir.absoluteFilePath(path));
    return absolute.isEmpty() ? path : absolute;
}

} // namespace SchemaPath
