#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVariantList>

class QDialog;
class QProgressDialog;

// Reads identity, position, phases and programs from the live controller
// behind a host object, showing its progress over the object dialog. Answers
// reach the dialog's slots getRefer(), getCpu(), getPhases() and
// getPrograms(), which hand them to take(); what they carry comes out as
// signals, and nothing once the exchange was cancelled.
class ControllerExchange : public QObject
{
    Q_OBJECT

public:
    enum class Step { Refer, Device, Phases, Programs };

    ControllerExchange(QDialog *dialog, QObject *light);
    ~ControllerExchange() override;

    // Sends the first command. False when the dialog went meanwhile.
    bool start();
    // Takes the answer of a response for a step. False when the dialog went
    // meanwhile.
    bool take(QObject *response, Step step);
    // Drops every awaited response, deleting it later.
    void clear();
    int pending() const { return m_queue.size(); }

signals:
    void descriptionRead(const QString &description);
    void positionRead(const QPointF &position);
    void phasesPresent(const QByteArray &map);
    void programsPresent(const QByteArray &map);

private:
    bool send(const QVariant &command, const QVariant &argument, Step step);
    bool setProgress(int value);
    void dropDeletedResponses();
    void closeIfDone();

    QDialog *m_dialog;
    QPointer<QObject> m_light;
    // A child of the dialog, for its modality; deleted here unless the
    // exchange goes from within its setValue().
    QPointer<QProgressDialog> m_progress;
    int m_progressSetting = 0;
    // Responses are the host's; guarded so that one the host drops early is
    // never touched.
    QList<QPointer<QObject>> m_queue;
};
