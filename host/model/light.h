#pragma once

#include "controllerstate.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class Response;

namespace Arvel {

class Phase;
class Program;

// A traffic-light controller of the project, reached by editors only by
// property and method name; commands sent to it are answered later from its
// simulated controller state.
class Light : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id READ id WRITE setId NOTIFY changed)
    Q_PROPERTY(QString type READ type WRITE setType NOTIFY changed)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY changed)
    Q_PROPERTY(QPointF position READ position WRITE setPosition NOTIFY changed)
    Q_PROPERTY(QString shema READ shema WRITE setShema NOTIFY changed)
    Q_PROPERTY(bool RcdControl READ rcdControl WRITE setRcdControl NOTIFY changed)
    Q_PROPERTY(int tlo_use_sg_cnt READ tloUseSgCnt WRITE setTloUseSgCnt NOTIFY changed)
    Q_PROPERTY(uint eventMask READ eventMask WRITE setEventMask NOTIFY changed)

public:
    explicit Light(QObject *parent = nullptr);
    ~Light() override;

    int id() const { return m_id; }
    void setId(int id);
    QString type() const { return m_type; }
    void setType(const QString &type);
    QString description() const { return m_description; }
    void setDescription(const QString &text);
    QPointF position() const { return m_position; }
    void setPosition(const QPointF &position);
    QString shema() const { return m_shema; }
    void setShema(const QString &path);
    bool rcdControl() const { return m_rcdControl; }
    void setRcdControl(bool on);
    int tloUseSgCnt() const { return m_tloUseSgCnt; }
    void setTloUseSgCnt(int count);
    uint eventMask() const { return m_eventMask; }
    void setEventMask(uint mask);

    ControllerState &controller() { return m_controller; }
    const ControllerState &controller() const { return m_controller; }
    // Milliseconds between a command and its answer.
    void setAnswerDelay(int msec) { m_answerDelay = msec; }
    // How the simulated controller answers: promptly, after about two
    // seconds, with every answer cut to its first field, or never (the
    // response then stays unfinished until the object goes).
    enum class Answers { Prompt, Slow, Short, None };
    Answers answers() const { return m_answers; }
    void setAnswers(Answers answers) { m_answers = answers; }

    Q_INVOKABLE QList<QObject *> phases() const;
    Q_INVOKABLE QList<QObject *> programs() const;
    Q_INVOKABLE void clearPhases();
    Q_INVOKABLE void clearPrograms();
    Q_INVOKABLE QObject *createPhase(int id, QString description);
    Q_INVOKABLE QObject *createProgram(int id, QString description);
    // Name -> [value, description].
    Q_INVOKABLE QVariantMap customProperties() const;
    // An invalid value removes the property.
    Q_INVOKABLE void setCustomProperty(QString name, QVariant value,
                                       QString description = QString());
    // The command by name or code; the answer arrives through the response's
    // finished(). Never null.
    Q_INVOKABLE Response *sendCommand(QVariant command, QVariant argument);

signals:
    // Any property, phase, program or custom property changed.
    void changed();

private:
    int m_id = 0;
    QString m_type;
    QString m_description;
    QPointF m_position;
    QString m_shema;
    bool m_rcdControl = false;
    int m_tloUseSgCnt = 0;
    uint m_eventMask = 0;
    QList<Phase *> m_phases;
    QList<Program *> m_programs;
    QVariantMap m_customProperties;
    ControllerState m_controller;
    int m_answerDelay = 40;
    Answers m_answers = Answers::Prompt;
};

} // namespace Arvel
