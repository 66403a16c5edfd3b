#include "project.h"

#include "connection.h"
#include "light.h"
#include "mapkeys.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtNumeric>

#include <algorithm>

namespace Arvel {

namespace {

// Calls `read` inside each entry of the settings array `array` that is
// present, in number order, up to the stored size.
template<typename Read> void forEachEntry(QSettings *settings, const QString &array, Read read)
{
    if (!settings)
        return;
    settings->beginGroup(array);
    const qlonglong size = settings->value(QStringLiteral("size")).toLongLong();
    QList<int> numbers;
    for (const QString &group : settings->childGroups()) {
        bool ok = false;
        const int number = group.toInt(&ok);
        if (ok && number > 0 && number <= size && group == QString::number(number))
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    for (const int number : numbers) {
        settings->beginGroup(QString::number(number));
        read(settings);
        settings->endGroup();
    }
    settings->endGroup();
}

// The settings as saving would write them: QSettings writes a value alike
// whatever its type in memory (5 and "5"), so equal texts save alike. False
// when the copy cannot be written, and so cannot tell.
bool savedForm(QSettings *settings, QByteArray *form)
{
    settings->sync();
    form->clear();
    QFile file(settings->fileName());
    if (settings->status() != QSettings::NoError)
        return false;
    if (!file.exists()) // nothing written yet: no keys
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *form = file.readAll();
    return true;
}

} // namespace

Project::Project(QObject *parent)
    : QObject(parent)
    , m_connection(new Connection(this))
{
}

Project::~Project() = default;

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

void Project::openSettings(const QVariantMap &values)
{
    m_settings.reset();
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    m_settings->setIniCodec("UTF-8");
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        m_settings->setValue(it.key(), it.value());
    m_settings->sync();
}

void Project::editSettings(const std::function<void(QSettings *)> &edit)
{
    if (!m_settings) {
        edit(nullptr);
        return;
    }
    QByteArray before, after;
    const bool known = savedForm(m_settings.get(), &before);
    edit(m_settings.get());
    if (!savedForm(m_settings.get(), &after) || !known || after != before)
        setChanged(true);
}

QList<MapSource> Project::mapSources() const
{
    QList<MapSource> sources;
    forEachEntry(m_settings.get(), MapKeys::Sources, [&sources](QSettings *entry) {
        sources.append({entry->value(MapKeys::SourceName).toString(),
                        entry->value(MapKeys::SourceDbFile).toString(),
                        entry->value(MapKeys::SourceTileServer).toString()});
    });
    return sources;
}

QList<MapPreset> Project::mapPresets() const
{
    QList<MapPreset> presets;
    forEachEntry(m_settings.get(), MapKeys::Presets, [&presets](QSettings *entry) {
        bool ok = false;
        double zoom = entry->value(MapKeys::PresetZoom).toDouble(&ok);
        if (!ok || !qIsFinite(zoom))
            zoom = qQNaN();
        const double lon = entry->value(MapKeys::PresetLongitude).toDouble();
        const double lat = entry->value(MapKeys::PresetLatitude).toDouble();
        presets.append({entry->value(MapKeys::PresetName).toString(),
                        entry->value(MapKeys::PresetToolTip).toString(), zoom,
                        qIsFinite(lon) && qIsFinite(lat) ? QPointF(lon, lat) : QPointF()});
    });
    return presets;
}

QString Project::defaultPresetName() const
{
    return m_settings ? m_settings->value(MapKeys::DefaultPreset).toString() : QString();
}

int Project::zoomMin(bool *ok) const
{
    *ok = false;
    return m_settings ? m_settings->value(MapKeys::ZoomMin).toInt(ok) : 0;
}

int Project::zoomMax(bool *ok) const
{
    *ok = false;
    return m_settings ? m_settings->value(MapKeys::ZoomMax).toInt(ok) : 0;
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
