#pragma once

#include <QObject>
#include <QString>

// A phase or program as the host keeps it: read by the object dialog by name.
class Item : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id MEMBER m_id)
    Q_PROPERTY(QString description MEMBER m_description)
    Q_PROPERTY(QString shema MEMBER m_shema)

public:
    Item(int id, const QString &description, QObject *parent)
        : QObject(parent)
        , m_id(id)
        , m_description(description)
    {
    }

    int m_id;
    QString m_description;
    QString m_shema;
};
