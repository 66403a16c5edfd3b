#include "controllerexchange.h"

#include "controllerdevice.h"
#include "controllerposition.h"
#include "hostcontract.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMetaMethod>
#include <QProgressDialog>

// A command sent: its response, awaited for one step. The response is the
// host's, of a class known only by name, so its finished() is relayed
// through this object's own signal, which the exchange connects knowing the
// step. Guarded, so that a response the host drops early is never touched.
class ExchangeStep : public QObject
{
    Q_OBJECT

public:
    ExchangeStep(ControllerExchange::Step step, QObject *response, QObject *exchange)
        : QObject(exchange)
        , m_step(step)
        , m_response(response)
    {
    }

    ControllerExchange::Step step() const { return m_step; }
    QObject *response() const { return m_response.data(); }

signals:
    void finished();

private:
    const ControllerExchange::Step m_step;
    const QPointer<QObject> m_response;
};

ControllerExchange::ControllerExchange(QDialog *dialog, QObject *light)
    : QObject(dialog)
    , m_light(light)
    , m_progress(new QProgressDialog(
          QCoreApplication::translate("ObjectPropertiesDlg", "exchange with controller"),
          QCoreApplication::translate("ObjectPropertiesDlg", "cancel"), 0, 4, dialog))
{
    m_progress->setWindowTitle(
        QCoreApplication::translate("ObjectPropertiesDlg", "Reading from controller"));
    // Reset at once so that the progress dialog does not pop up by itself
    // after its minimum duration; it shows only while an exchange runs.
    m_progress->setAutoClose(true);
    m_progress->reset();
    connect(m_progress, &QProgressDialog::rejected, this, &ControllerExchange::clear);
    // Its cancel button only resets it: answers that come after the user gave
    // up must change nothing either.
    connect(m_progress, &QProgressDialog::canceled, this, &ControllerExchange::clear);
}

ControllerExchange::~ControllerExchange()
{
    if (m_progressSetting > 0) {
        // Destroyed from within the progress dialog's own setValue(): it is
        // left to setProgress, which deletes it once that returns.
        m_progress->hide();
        m_progress->setParent(nullptr);
    } else {
        delete m_progress.data();
    }
}

bool ControllerExchange::start()
{
    // Still up from an exchange under way, the progress dialog processes
    // events while it takes the new value.
    if (!setProgress(0))
        return false;
    m_progress->open();
    if (!send(QStringLiteral("GET_REFER"), 2, Step::Refer))
        m_progress->reject();
    return true;
}

bool ControllerExchange::take(Step step)
{
    return take(step, QVariantList());
}

void ControllerExchange::clear()
{
    while (!m_queue.isEmpty()) {
        ExchangeStep *awaited = m_queue.takeFirst();
        // Out of the queue, a step is over: an answer that still arrives
        // before the deferred deletions changes nothing.
        if (QObject *response = awaited->response())
            response->deleteLater();
        awaited->deleteLater();
    }
}

bool ControllerExchange::send(const QVariant &command, const QVariant &argument, Step step)
{
    QObject *response = nullptr;
    if (!HostCall::invoke(m_light.data(), Host::Light::SendCommand,
                          QGenericReturnArgument(Host::Response::TypeName, &response),
                          Q_ARG(QVariant, command), Q_ARG(QVariant, argument))
        || !response)
        return false;
    const QMetaObject *meta = response->metaObject();
    const int finished = meta->indexOfSignal(Host::Response::Finished);
    if (finished < 0)
        return false;
    // A response handed out again for the same step is awaited once.
    for (const ExchangeStep *awaited : qAsConst(m_queue)) {
        if (awaited->response() == response && awaited->step() == step)
            return true;
    }
    auto *awaited = new ExchangeStep(step, response, this);
    connect(response, meta->method(finished), awaited,
            QMetaMethod::fromSignal(&ExchangeStep::finished));
    connect(awaited, &ExchangeStep::finished, this, [this, awaited] { answered(awaited); });
    connect(response, &QObject::destroyed, awaited, [this, awaited] { dropped(awaited); });
    m_queue.append(awaited);
    return true;
}

void ControllerExchange::answered(ExchangeStep *awaited)
{
    // One answer per response and step: a second finished() changes nothing.
    if (!m_queue.removeOne(awaited))
        return;
    awaited->deleteLater();
    take(awaited->step(), HostCall::read(awaited->response(), Host::Response::Data).toList());
}

void ControllerExchange::dropped(ExchangeStep *awaited)
{
    // The host deleted a response before it finished: its answer will not
    // come.
    if (!m_queue.removeOne(awaited))
        return;
    awaited->deleteLater();
    closeIfDone();
}

bool ControllerExchange::take(Step step, const QVariantList &data)
{
    if (!setProgress(m_progress->value() + 1))
        return false;

    switch (step) {
    case Step::Refer: {
        if (!data.isEmpty() && ControllerDevice::isRecognised(data.at(0).toString())) {
            // Each independently: one that cannot be sent leaves the others.
            send(QStringLiteral("GET_DEVICE"), QVariantList{0, 17}, Step::Device);
            send(QStringLiteral("GET_CLIST"), 16, Step::Phases);
            send(QStringLiteral("GET_CLIST"), 18, Step::Programs);
        }
        if (data.size() >= 3)
            emit descriptionRead(data.at(2).toString().trimmed());
        QPointF position;
        if (data.size() >= 4 && ControllerPosition::parse(data.at(3).toString(), &position))
            emit positionRead(position);
        break;
    }
    case Step::Device:
        break;
    case Step::Phases:
        if (data.size() >= 2)
            emit phasesPresent(data.at(1).toByteArray());
        break;
    case Step::Programs:
        // Closed below also after a short answer: the progress dialog must
        // not stay up for an exchange that is over.
        if (data.size() >= 2)
            emit programsPresent(data.at(1).toByteArray());
        break;
    }
    closeIfDone();
    return true;
}

bool ControllerExchange::setProgress(int value)
{
    // Shown and modal, the progress dialog processes events while it takes a
    // value, and the host may destroy the dialog, and this exchange with it,
    // meanwhile: the destructor then leaves the progress dialog to the
    // outermost call here, since Qt's setValue() goes on using it after the
    // events.
    QPointer<ControllerExchange> self(this);
    QProgressDialog *progress = m_progress;
    const bool outermost = m_progressSetting == 0;
    ++m_progressSetting;
    progress->setValue(value);
    if (!self) {
        if (outermost)
            delete progress;
        return false;
    }
    --m_progressSetting;
    return true;
}

void ControllerExchange::closeIfDone()
{
    if (m_queue.isEmpty())
        m_progress->reject();
}

#include "controllerexchange.moc"
