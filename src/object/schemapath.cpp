#include "schemapath.h"

namespace SchemaPath {

namespace {

// Whether the path from `start` on is as QDir::cleanPath leaves it, given a
// clean part before it that ends in "/": no empty, "." or ".." segment, no
// trailing "/", and no backslash, which is a separator elsewhere.
bool isCleanBelow(const QString &path, int start)
{
    const int size = path.size();
    int segment = start; // where the current segment begins
    for (int i = start; i <= size; ++i) {
        if (i < size && path.at(i) == QLatin1Char('\\'))
            return false;
        if (i < size && path.at(i) != QLatin1Char('/'))
            continue;
        const QStringRef part = path.midRef(segment, i - segment);
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
        segment = i + 1;
    }
    return true;
}

} // namespace

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
    if (path.size() > m_prefix.size() && path.startsWith(m_prefix)
        && isCleanBelow(path, m_prefix.size()))
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
