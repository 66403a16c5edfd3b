#pragma once

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QList>
#include <QMainWindow>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

// Stand-ins for the host's objects, with the class, property and method names
// that the plug-in relies on. Their properties hold QVariants, so a written
// value keeps the type the plug-in gave it and one never set reads as invalid,
// as a missing property does. Given a log, every property write and every
// invokable call is appended to it in order, one log for the objects of one
// test: "<label>.<name> = <type> <text>" or "<label>.<call>".

// The recording, whatever Qt class the stand-in derives from.
class Recorder
{
public:
    Recorder(QStringList *log, const QString &label);

    QStringList *log() const { return m_log; }

    // "<TypeName> <text>", or "invalid".
    static QString describe(const QVariant &value);

protected:
    void record(const QString &entry) const;
    void recordWrite(const char *name, const QVariant &value) const;
    // Records a write to a value held in a member.
    void store(QVariant *member, const char *name, const QVariant &value) const;
    // Writes to names the stand-in does not declare land here.
    void recordUndeclared(const QObject *self, QEvent *event) const;

    // Set while a test presets a value: nothing is recorded.
    bool m_presetting = false;

private:
    QStringList *m_log;
    QString m_label;
};

class RecordingObject : public QObject, public Recorder
{
    Q_OBJECT

public:
    RecordingObject(QStringList *log, const QString &label, QObject *parent = nullptr);

    // Sets a value as the host held it before the edit: not logged.
    void preset(const char *name, const QVariant &value);

protected:
    QVariant value(const char *name) const;
    void write(const char *name, const QVariant &value);
    bool event(QEvent *event) override;

private:
    QVariantMap m_values;
};

// The answer to a command: empty until the test finishes it.
class Response : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList data READ data)

public:
    using QObject::QObject;

    QVariantList data() const { return m_data; }
    void finish(const QVariantList &data);

signals:
    void finished();

private:
    QVariantList m_data;
};

// A phase or a program. Its values are members rather than named entries, so
// that a benchmark reads them as fast as the host's own.
class ListItem : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant id READ id WRITE setId)
    Q_PROPERTY(QVariant description READ description WRITE setDescription)
    Q_PROPERTY(QVariant shema READ shema WRITE setShema)

public:
    using RecordingObject::RecordingObject;

    QVariant id() const { return m_id; }
    void setId(const QVariant &v) { store(&m_id, "id", v); }
    QVariant description() const { return m_description; }
    void setDescription(const QVariant &v) { store(&m_description, "description", v); }
    QVariant shema() const { return m_shema; }
    void setShema(const QVariant &v) { store(&m_shema, "shema", v); }

private:
    QVariant m_id;
    QVariant m_description;
    QVariant m_shema;
};

namespace Arvel {

class Connection : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant remoteHost READ remoteHost WRITE setRemoteHost)
    Q_PROPERTY(QVariant remotePort READ remotePort WRITE setRemotePort)

public:
    explicit Connection(QStringList *log, QObject *parent = nullptr);

    QVariant remoteHost() const { return value("remoteHost"); }
    void setRemoteHost(const QVariant &v) { write("remoteHost", v); }
    QVariant remotePort() const { return value("remotePort"); }
    void setRemotePort(const QVariant &v) { write("remotePort", v); }
};

class Project : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant baseDir READ baseDir WRITE setBaseDir)
    Q_PROPERTY(QVariant title READ title WRITE setTitle)
    Q_PROPERTY(QVariant fileName READ fileName WRITE setFileName)
    Q_PROPERTY(QVariant connection READ connection WRITE setConnection)
    Q_PROPERTY(QVariant consoleRequestFilter READ requestFilter WRITE setRequestFilter)
    Q_PROPERTY(QVariant consoleResponseFilter READ responseFilter WRITE setResponseFilter)
    Q_PROPERTY(
        QVariant consoleNotificationFilter READ notificationFilter WRITE setNotificationFilter)
    Q_PROPERTY(QVariant changed READ changed WRITE setChanged)

public:
    explicit Project(QStringList *log, QObject *parent = nullptr);

    QVariant baseDir() const { return value("baseDir"); }
    void setBaseDir(const QVariant &v) { write("baseDir", v); }
    QVariant title() const { return value("title"); }
    void setTitle(const QVariant &v) { write("title", v); }
    QVariant fileName() const { return value("fileName"); }
    void setFileName(const QVariant &v) { write("fileName", v); }
    QVariant connection() const { return value("connection"); }
    void setConnection(const QVariant &v) { write("connection", v); }
    QVariant requestFilter() const { return value("consoleRequestFilter"); }
    void setRequestFilter(const QVariant &v) { write("consoleRequestFilter", v); }
    QVariant responseFilter() const { return value("consoleResponseFilter"); }
    void setResponseFilter(const QVariant &v) { write("consoleResponseFilter", v); }
    QVariant notificationFilter() const { return value("consoleNotificationFilter"); }
    void setNotificationFilter(const QVariant &v) { write("consoleNotificationFilter", v); }
    QVariant changed() const { return value("changed"); }
    void setChanged(const QVariant &v) { write("changed", v); }

    // The identifiers that contains() reports as taken.
    void setIds(const QSet<int> &ids) { m_ids = ids; }
    Q_INVOKABLE bool contains(int id);

private:
    QSet<int> m_ids;
};

// The controller object's properties, without any method.
class LightProperties : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant id READ id WRITE setId)
    Q_PROPERTY(QVariant type READ type WRITE setType)
    Q_PROPERTY(QVariant description READ description WRITE setDescription)
    Q_PROPERTY(QVariant position READ position WRITE setPosition)
    Q_PROPERTY(QVariant shema READ shema WRITE setShema)
    Q_PROPERTY(QVariant RcdControl READ rcdControl WRITE setRcdControl)
    Q_PROPERTY(QVariant tlo_use_sg_cnt READ useCount WRITE setUseCount)
    Q_PROPERTY(QVariant eventMask READ eventMask WRITE setEventMask)
    Q_PROPERTY(QVariant scene READ scene)

public:
    explicit LightProperties(QStringList *log, QObject *parent = nullptr);

    QVariant id() const { return value("id"); }
    void setId(const QVariant &v) { write("id", v); }
    QVariant type() const { return value("type"); }
    void setType(const QVariant &v) { write("type", v); }
    QVariant description() const { return value("description"); }
    void setDescription(const QVariant &v) { write("description", v); }
    QVariant position() const { return value("position"); }
    void setPosition(const QVariant &v) { write("position", v); }
    QVariant shema() const { return value("shema"); }
    void setShema(const QVariant &v) { write("shema", v); }
    QVariant rcdControl() const { return value("RcdControl"); }
    void setRcdControl(const QVariant &v) { write("RcdControl", v); }
    QVariant useCount() const { return value("tlo_use_sg_cnt"); }
    void setUseCount(const QVariant &v) { write("tlo_use_sg_cnt", v); }
    QVariant eventMask() const { return value("eventMask"); }
    void setEventMask(const QVariant &v) { write("eventMask", v); }
    QVariant scene() const { return value("scene"); }

    void presetPhase(int id, const QString &description, const QString &shema);
    void presetProgram(int id, const QString &description);
    void presetScene(QGraphicsScene *scene) { preset("scene", QVariant::fromValue(scene)); }
    QList<QObject *> phaseList() const { return m_phases; }
    QList<QObject *> programList() const { return m_programs; }

protected:
    ListItem *makeItem(const QString &kind, int id, const QString &description);
    // A list handed out, the call recorded.
    QList<QObject *> listed(const char *call, const QList<QObject *> &list) const;
    // A list emptied, the call recorded.
    void cleared(const char *call, QList<QObject *> *list);

    QList<QObject *> m_phases;
    QList<QObject *> m_programs;
};

// A controller object with every method the object dialog uses.
class Light : public LightProperties
{
    Q_OBJECT

public:
    using LightProperties::LightProperties;

    Q_INVOKABLE QList<QObject *> phases();
    Q_INVOKABLE QList<QObject *> programs();
    Q_INVOKABLE void clearPhases();
    Q_INVOKABLE void clearPrograms();
    Q_INVOKABLE QObject *createPhase(int id, const QString &description);
    Q_INVOKABLE void createProgram(int id, const QString &description);
    Q_INVOKABLE QVariantMap customProperties();
    Q_INVOKABLE void setCustomProperty(const QString &name, const QVariant &value,
                                       const QString &description = QString());
    Q_INVOKABLE Response *sendCommand(const QVariant &command, const QVariant &argument);

    QVariantMap storedCustomProperties() const { return m_customProperties; }
    void presetCustomProperties(const QVariantMap &properties) { m_customProperties = properties; }

    // Commands by the key "GET_REFER", "GET_DEVICE", "GET_CLIST 16" (the list's
    // number follows): a refused one gets no response; reused, an unanswered
    // response is handed out again for the same key.
    void refuseCommands(const QStringList &keys) { m_refused = keys; }
    void reuseResponses() { m_reuse = true; }
    // Every response handed out, and the latest one for a key.
    QList<QPointer<Response>> responses() const { return m_responses; }
    Response *response(const QString &key) const;

private:
    QVariantMap m_customProperties;
    QStringList m_refused;
    bool m_reuse = false;
    QList<QPointer<Response>> m_responses;
    QStringList m_responseKeys;
};

// Its createPhase returns something other than an object, so every call made
// for an object fails although a method of that name and those arguments
// exists.
class LightWithForeignPhases : public Light
{
    Q_OBJECT

public:
    using Light::Light;

    Q_INVOKABLE int createPhase(int id, const QString &description);
};

// Can neither list its phases nor create phases or programs, though it can
// clear them and list its programs.
class LightWithoutLists : public LightProperties
{
    Q_OBJECT

public:
    using LightProperties::LightProperties;

    Q_INVOKABLE QList<QObject *> programs();
    Q_INVOKABLE void clearPhases();
    Q_INVOKABLE void clearPrograms();
    Q_INVOKABLE QVariantMap customProperties();
};

} // namespace Arvel

// The host's phase-preview view.
class PreviewView : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    QList<int> previews() const { return m_previews; }
    Q_INVOKABLE void previewPhase(int phase) { m_previews.append(phase); }

private:
    QList<int> m_previews;
};

// The host's main window, with its phase-preview view "crossView" below the
// central widget. It counts the events that reach it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow();

    PreviewView *crossView() const { return m_crossView; }
    int closeEvents() const { return m_closeEvents; }
    int keyPresses() const { return m_keyPresses; }
    int userEvents() const { return m_userEvents; }

protected:
    bool event(QEvent *event) override;

private:
    PreviewView *m_crossView;
    int m_closeEvents = 0;
    int m_keyPresses = 0;
    int m_userEvents = 0;
};

// The host's map scene. It notes the key and mouse presses that reach it.
class Scene : public QGraphicsScene
{
    Q_OBJECT

public:
    using QGraphicsScene::QGraphicsScene;

    QList<int> keys() const { return m_keys; }
    int presses() const { return m_presses; }

protected:
    bool event(QEvent *event) override;

private:
    QList<int> m_keys;
    int m_presses = 0;
};

// The host's map view, of the class the plug-in looks for.
class OsmView : public QGraphicsView, public Recorder
{
    Q_OBJECT
    Q_PROPERTY(QVariant zoomMin READ zoomMin WRITE setZoomMin)
    Q_PROPERTY(QVariant zoomMax READ zoomMax WRITE setZoomMax)
    Q_PROPERTY(QVariant zoomF READ zoomF WRITE setZoomF)

public:
    explicit OsmView(QStringList *log = nullptr, QGraphicsScene *scene = nullptr);

    QVariant zoomMin() const { return m_zoomMin; }
    void setZoomMin(const QVariant &v) { store(&m_zoomMin, "zoomMin", v); }
    QVariant zoomMax() const { return m_zoomMax; }
    void setZoomMax(const QVariant &v) { store(&m_zoomMax, "zoomMax", v); }
    QVariant zoomF() const { return m_zoomF; }
    void setZoomF(const QVariant &v) { store(&m_zoomF, "zoomF", v); }

    // Sets the three as the host held them before the edit: not logged.
    void presetZoom(const QVariant &min, const QVariant &max, const QVariant &factor);

signals:
    void mouseRelease(QPointF point);

private:
    QVariant m_zoomMin;
    QVariant m_zoomMax;
    QVariant m_zoomF;
};
