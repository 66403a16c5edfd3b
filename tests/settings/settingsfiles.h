#pragma once

// Helpers of the settings tests: fixture files, what QSettings reads from a
// file, and a way to make writing fail as on a full disk.

#include "filebytes.h"
#include "filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <new>

inline QString renderValue(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toHex());
    case QMetaType::QStringList:
        return value.toStringList().join(QLatin1Char('|'));
    case QMetaType::QPoint:
        return QStringLiteral("%1,%2").arg(value.toPoint().x()).arg(value.toPoint().y());
    case QMetaType::QSize:
        return QStringLiteral("%1x%2").arg(value.toSize().width()).arg(value.toSize().height());
    default:
        return value.toString();
    }
}

// Every key of a file as "key:type=value", as a fresh QSettings reads it;
// nothing when QSettings runs out of memory decoding a value.
inline QStringList fileContent(const QString &fileName)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    QStringList content;
    QStringList keys;
    try {
        keys = settings.allKeys();
    } catch (const std::bad_alloc &) {
        return content;
    }
    for (const QString &key : keys) {
        const QVariant value = settings.value(key);
        content << QStringLiteral("%1:%2=%3")
                       .arg(key, QLatin1String(value.typeName()), renderValue(value));
    }
    return content;
}

inline QStringList keysOf(const QStringList &content)
{
    QStringList keys;
    for (const QString &entry : content)
        keys << entry.section(QLatin1Char(':'), 0, 0);
    return keys;
}

inline bool writeFile(const QString &fileName, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A temporary folder that hands out fresh file names, so that no two test
// rows share a file (QSettings caches files by name for the whole process).
class FixtureFolder
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString newName(const QString &stem)
    {
        return m_dir.filePath(QStringLiteral("%1%2.ini").arg(stem).arg(++m_count));
    }
    // A new file holding `text`; empty if it could not be written.
    QString fixture(const QByteArray &text)
    {
        const QString name = newName(QStringLiteral("f"));
        return writeFile(name, text) ? name : QString();
    }

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

// Keys of every kind of value: text, a list, a @ByteArray whose text is cut
// at its zero byte, encoded geometry, and nested sections.
const char SettingsFixture[] = "; comment\n"
                               "text=plain\n"
                               "list=one, two\n"
                               "bytes=@ByteArray(\\0\\x1)\n"
                               "[s]\n"
                               "point=@Point(3 4)\n"
                               "n=7\n"
                               "t\\deep=x\n"
                               "[u]\n"
                               "v=1\n";
