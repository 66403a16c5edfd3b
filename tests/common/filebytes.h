#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes as they are on disk; "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
