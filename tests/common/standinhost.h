#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

// Stand-ins for the host's objects. Their properties are of type QVariant,
// so a value arrives with the type the dialog wrote and a value never set
// reads as invalid, as a missing property does. Every property write and
// every invokable call is appended, in order, to a log shared by the objects
// of one test.
class RecordingObject : public QObject
{
    Q_OBJECT

public:
    RecordingObject(QStringList *log, const QString &label, QObject *parent = nullptr);

    // Sets a value as the host held it before the edit: not logged.
    void preset(const char *name, const QVariant &value);

    QStringList *log() const { return m_log; }

    // "<TypeName> <text>", or "invalid".
    static QString describe(const QVariant &value);

protected:
    QVariant value(const char *name) const;
    void write(const char *name, const QVariant &value);
    void record(const QString &entry);
    // Writes to names the stand-in does not declare land here.
    bool event(QEvent *event) override;

private:
    QStringList *m_log;
    QString m_label;
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
    void finish(const QVariantList &data)
    {
        m_data = data;
        emit finished();
    }

signals:
    void finished();

private:
    QVariantList m_data;
};

// A phase or a program.
class ListItem : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant id READ id WRITE setId)
    Q_PROPERTY(QVariant description READ description WRITE setDescription)
    Q_PROPERTY(QVariant shema READ shema WRITE setShema)

public:
    using RecordingObject::RecordingObject;

    QVariant id() const { return value("id"); }
    void setId(const QVariant &v) { write("id", v); }
    QVariant description() const { return value("description"); }
    void setDescription(const QVariant &v) { write("description", v); }
    QVariant shema() const { return value("shema"); }
    void setShema(const QVariant &v) { write("shema", v); }
};

namespace Arvel {

class Project : public RecordingObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant baseDir READ baseDir WRITE setBaseDir)

public:
    explicit Project(QStringList *log, QObject *parent = nullptr);

    QSet<int> ids;

    QVariant baseDir() const { return value("baseDir"); }
    void setBaseDir(const QVariant &v) { write("baseDir", v); }

    Q_INVOKABLE bool contains(int id);
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

protected:
    ListItem *makeItem(const QString &kind, int id, const QString &description);

    QList<QObject *> m_phases;
    QList<QObject *> m_programs;
};

// A controller object with every method the object dialog uses.
class Light : public LightProperties
{
    Q_OBJECT

public:
    using LightProperties::LightProperties;

    QVariantMap storedCustomProperties;

    Q_INVOKABLE QList<QObject *> phases();
    Q_INVOKABLE QList<QObject *> programs();
    Q_INVOKABLE void clearPhases();
    Q_INVOKABLE void clearPrograms();
    Q_INVOKABLE QObject *createPhase(int id, const QString &description);
    Q_INVOKABLE void createProgram(int id, const QString &description);
    Q_INVOKABLE QVariantMap customProperties();
    Q_INVOKABLE void setCustomProperty(const QString &name, const QVariant &value,
                                       const QString &description = QString());

    // Commands by the key "GET_REFER", "GET_DEVICE", "GET_CLIST 16" (the list's
    // number follows): a refused one gets no response; with reuseResponses an
    // unanswered response is handed out again for the same key.
    QStringList refusedCommands;
    bool reuseResponses = false;
    QList<QPointer<Response>> responses;
    QStringList responseKeys;

    Q_INVOKABLE Response *sendCommand(const QVariant &command, const QVariant &argument);
    // The latest response sent for a key.
    Response *response(const QString &key) const;
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

    QList<int> previews;

    Q_INVOKABLE void previewPhase(int phase) { previews.append(phase); }
};
