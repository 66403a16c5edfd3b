#pragma once

#include <QObject>
#include <QString>

namespace Arvel {

// One phase of a controller: its number, a description and the path of its
// schema drawing. Owned by its Light.
class Phase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id READ id WRITE setId)
    Q_PROPERTY(QString description READ description WRITE setDescription)
    Q_PROPERTY(QString shema READ shema WRITE setShema)

public:
    Phase(int id, const QString &description, QObject *parent = nullptr);

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }
    QString description() const { return m_description; }
    void setDescription(const QString &text) { m_description = text; }
    QString shema() const { return m_shema; }
    void setShema(const QString &path) { m_shema = path; }

private:
    int m_id;
    QString m_description;
    QString m_shema;
};

// One signal program of a controller: its number and a description.
class Program : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id READ id WRITE setId)
    Q_PROPERTY(QString description READ description WRITE setDescription)

public:
    Program(int id, const QString &description, QObject *parent = nullptr);

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }
    QString description() const { return m_description; }
    void setDescription(const QString &text) { m_description = text; }

private:
    int m_id;
    QString m_description;
};

} // namespace Arvel
