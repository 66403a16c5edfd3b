#include "project.h"

#include "connection.h"
#include "light.h"

#include <QSettings>

namespace Arvel {

Project::Project(QObject *parent)
    : QObject(parent)
    , m_connection(new Connection(this))
{
}

Project::~Project()
{
    if (m_settings)
        m_settings->sync();
}

void Project::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged();
}

QObject *Project::connection() const
{
    return m_connection.data();
}

Connection *Project::serverConnection() const
{
    return m_connection.data();
}

void Project::setConsoleRequestFilter(const QString &filter)
{
    if (filter == m_requestFilter)
        return;
    m_requestFilter = filter;
    emit consoleFiltersChanged();
}

void Project::setConsoleResponseFilter(const QString &filter)
{
    if (filter == m_responseFilter)
        return;
    m_responseFilter = filter;
    emit consoleFiltersChanged();
}

void Project::setConsoleNotificationFilter(const QString &filter)
{
    if (filter == m_notificationFilter)
        return;
    m_notificationFilter = filter;
    emit consoleFiltersChanged();
}

void Project::setChanged(bool changed)
{
    if (changed == m_changed)
        return;
    m_changed = changed;
    emit changedChanged(changed);
}

void Project::openSettings(const QString &iniFile)
{
    delete m_settings;
    m_settings = new QSettings(iniFile, QSettings::IniFormat, this);
    m_settings->setIniCodec("UTF-8");
}

QList<Light *> Project::lights() const
{
    return findChildren<Light *>(QString(), Qt::FindDirectChildrenOnly);
}

Light *Project::light(int id) const
{
    const QList<Light *> all = lights();
    for (Light *light : all) {
        if (light->id() == id)
            return light;
    }
    return nullptr;
}

void Project::addLight(Light *light)
{
    light->setParent(this);
    emit lightAdded(light);
}

void Project::removeLight(Light *light)
{
    if (!light || light->parent() != this)
        return;
    emit lightRemoved(light);
    delete light;
}

bool Project::contains(int id) const
{
    return light(id) != nullptr;
}

} // namespace Arvel
