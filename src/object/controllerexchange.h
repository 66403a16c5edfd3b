#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVariantList>

class ExchangeStep;
class QDialog;
class QProgressDialog;

// Reads identity, position, phases and programs from the live controller
// behind a host object, showing its progress over the object dialog. It
// awaits each response's finished() itself; what the answers carry comes out
// as signals, and nothing once the exchange was cancelled.
class ControllerExchange : public QObject
{
    Q_OBJECT

public:
    enum class Step { Refer, Device, Phases, Programs };

    ControllerExchange(QDialog *dialog, QObject *light);
    ~ControllerExchange() override;

    // Sends the first command. False when the dialog went meanwhile.
    bool start();
    // Takes an answer that came without a response, as the dialog's handler
    // of a step gives it when called by name: the step counts, with nothing
    // in it. False when the dialog went meanwhile.
    bool take(Step step);
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
    void answered(ExchangeStep *awaited);
    void dropped(ExchangeStep *awaited);
    bool take(Step step, const QVariantList &data);
    bool setProgress(int value);
    void closeIfDone();

    QPointer<QObject> m_light;
    // A child of the dialog, for its modality; deleted here unless the
    // exchange goes from within its setValue().
    QPointer<QProgressDialog> m_progress;
    int m_progressSetting = 0;
    // The responses awaited, in the order of sending, each with its step.
    QList<ExchangeStep *> m_queue;
};
