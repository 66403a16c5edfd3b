#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class QSettings;
class QTemporaryDir;

namespace Arvel {

class Connection;
class Light;

// A map source as the project's settings name it: nothing is downloaded.
struct MapSource
{
    QString name;
    QString dbFile;
    QString tileServer;
};

// A named view of the map; `zoom` is NaN when the stored zoom is no number.
struct MapPreset
{
    QString name;
    QString toolTip;
    double zoom;
    QPointF center; // longitude, latitude
};

// The open project with its controllers (its Light children); `changed`
// marks edits not yet saved, and its settings are a private copy saved, or
// dropped, with the rest of it.
class Project : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName)
    Q_PROPERTY(QString baseDir READ baseDir WRITE setBaseDir)
    Q_PROPERTY(QObject *connection READ connection)
    Q_PROPERTY(QString consoleRequestFilter READ consoleRequestFilter WRITE setConsoleRequestFilter
                   NOTIFY consoleFiltersChanged)
    Q_PROPERTY(QString consoleResponseFilter READ consoleResponseFilter WRITE
                   setConsoleResponseFilter NOTIFY consoleFiltersChanged)
    Q_PROPERTY(QString consoleNotificationFilter READ consoleNotificationFilter WRITE
                   setConsoleNotificationFilter NOTIFY consoleFiltersChanged)
    Q_PROPERTY(bool changed READ isChanged WRITE setChanged NOTIFY changedChanged)

public:
    explicit Project(QObject *parent = nullptr);
    ~Project() override;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString baseDir() const { return m_baseDir; }
    void setBaseDir(const QString &dir) { m_baseDir = dir; }
    QObject *connection() const;
    Connection *serverConnection() const;

    QString consoleRequestFilter() const { return m_requestFilter; }
    void setConsoleRequestFilter(const QString &filter);
    QString consoleResponseFilter() const { return m_responseFilter; }
    void setConsoleResponseFilter(const QString &filter);
    QString consoleNotificationFilter() const { return m_notificationFilter; }
    void setConsoleNotificationFilter(const QString &filter);

    bool isChanged() const { return m_changed; }
    void setChanged(bool changed);

    // A digest of what the project's file held when it was last read or
    // written (null: there was no file), so that a save can tell that
    // another program changed the file meanwhile.
    QByteArray fileDigest() const { return m_fileDigest; }
    void setFileDigest(const QByteArray &digest) { m_fileDigest = digest; }

    // The settings as edited, not yet saved: every key of the project file
    // that is not written from the project's own objects. Null until
    // openSettings(), which starts them afresh with `values` (key paths).
    QSettings *settings() const { return m_settings.get(); }
    void openSettings(const QVariantMap &values = QVariantMap());
    // Lets `edit` (an editor's dialog) change the settings, and marks the
    // project changed when it changed what saving would write. `edit` gets
    // null when the project has no settings.
    void editSettings(const std::function<void(QSettings *)> &edit);

    // The map settings as the editor keeps them. Only entries present count,
    // within the stored size, so a damaged size cannot make a long list.
    QList<MapSource> mapSources() const;
    QList<MapPreset> mapPresets() const;
    QString defaultPresetName() const;
    // A zoom limit; *ok is false when it is missing or no number.
    int zoomMin(bool *ok) const;
    int zoomMax(bool *ok) const;

    QList<Light *> lights() const;
    Light *light(int id) const;
    // Takes ownership.
    void addLight(Light *light);
    void removeLight(Light *light);

    Q_INVOKABLE bool contains(int id) const;

signals:
    void titleChanged();
    void consoleFiltersChanged();
    void changedChanged(bool changed);
    void lightAdded(Arvel::Light *light);
    void lightRemoved(Arvel::Light *light);

private:
    QString m_title;
    QString m_fileName;
    QString m_baseDir;
    QPointer<Connection> m_connection;
    QString m_requestFilter;
    QString m_responseFilter;
    QString m_notificationFilter;
    bool m_changed = false;
    QByteArray m_fileDigest;
    // The copy lives in a file of its own folder; it goes before the folder.
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace Arvel
