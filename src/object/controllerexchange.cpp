#include "controllerexchange.h"

#include "controllerdevice.h"
#include "controllerposition.h"
#include "hostcontract.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProgressDialog>

namespace {

// The dialog's slot that takes the answer of each step.
const char *handler(ControllerExchange::Step step)
{
    switch (step) {
    case ControllerExchange::Step::Refer:
        return SLOT(getRefer());
    case ControllerExchange::Step::Device:
        return SLOT(getCpu());
    case ControllerExchange::Step::Phases:
        return SLOT(getPhases());
    default:
        return SLOT(getPrograms());
    }
}

// The string-based form of the response's finished() signal.
const QByteArray Finished = QByteArray::number(QSIGNAL_CODE) + Host::Response::Finished;

} // namespace

ControllerExchange::ControllerExchange(QDialog *dialog, QObject *light)
    : QObject(dialog)
    , m_dialog(dialog)
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
    connect(m_progress, SIGNAL(rejected()), dialog, SLOT(clearControllerExchangeQueue()));
    // Its cancel button only resets it: answers that come after the user gave
    // up must change nothing either.
    connect(m_progress, SIGNAL(canceled()), dialog, SLOT(clearControllerExchangeQueue()));
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

bool ControllerExchange::take(QObject *response, Step step)
{
    QVariantList data;
    if (response) {
        // One answer per response: a second finished() changes nothing.
        disconnect(response, Finished.constData(), m_dialog, handler(step));
        const int index = m_queue.indexOf(response);
        if (index >= 0)
            m_queue.removeAt(index);
        data = HostCall::read(response, Host::Response::Data).toList();
    }
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

void ControllerExchange::clear()
{
    while (!m_queue.isEmpty()) {
        const QPointer<QObject> response = m_queue.takeFirst();
        if (!response)
            continue;
        // The deletion is deferred; an answer that still arrives before it
        // must not reach a handler.
        disconnect(response.data(), nullptr, m_dialog, nullptr);
        disconnect(response.data(), nullptr, this, nullptr);
        response->deleteLater();
    }
}

bool ControllerExchange::send(const QVariant &command, const QVariant &argument, Step step)
{
    QObject *response = nullptr;
    if (!HostCall::invoke(m_light.data(), Host::Light::SendCommand,
                          QGenericReturnArgument(Host::Response::TypeName, &response),
                          Q_ARG(QVariant, command), Q_ARG(QVariant, argument))
        || !response || response->metaObject()->indexOfSignal(Host::Response::Finished) < 0)
        return false;
    // A response handed out again for the same step is awaited once.
    if (!connect(response, Finished.constData(), m_dialog, handler(step), Qt::UniqueConnection))
        return true;
    if (!m_queue.contains(response))
        connect(response, &QObject::destroyed, this, &ControllerExchange::dropDeletedResponses);
    m_queue.append(response);
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

void ControllerExchange::dropDeletedResponses()
{
    // The host deleted a response before it finished: its answer will not
    // come, and nothing may touch it.
    if (m_queue.removeAll(QPointer<QObject>()) > 0)
        closeIfDone();
}

void ControllerExchange::closeIfDone()
{
    if (m_queue.isEmpty())
        m_progress->reject();
}
