#include "screenshottour.h"

#include <QApplication>
#include <QDialog>
#include <QTextStream>
#include <QWidget>

namespace {

// A dialog is grabbed once it has stayed up this long: enough for queued
// resizes and the first paint.
const int SettleMs = 500;
// A dialog that has not shown by then is given up.
const int AppearTimeoutMs = 5000;
// After giving up, the blocking call gets this long to return before the
// whole run is ended.
const int RescueTimeoutMs = 3000;

void say(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

void complain(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
}

} // namespace

ScreenshotTour::ScreenshotTour(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &ScreenshotTour::poll);
}

void ScreenshotTour::addWindow(const QString &fileName, QWidget *window, int settleMs,
                               std::function<void()> prepare)
{
    Step step;
    step.fileName = fileName;
    step.window = window;
    step.settleMs = settleMs;
    step.run = std::move(prepare);
    m_steps.append(step);
}

void ScreenshotTour::addDialog(const QString &fileName, std::function<void()> open, Close close)
{
    Step step;
    step.fileName = fileName;
    step.run = std::move(open);
    step.close = close;
    m_steps.append(step);
}

void ScreenshotTour::start()
{
    if (!m_folder.mkpath(QStringLiteral("."))) {
        complain(tr("Cannot create the screenshot folder %1").arg(folder()));
        emit finished(m_steps.size());
        return;
    }
    say(tr("Saving screenshots to %1").arg(folder()));
    m_next = 0;
    m_failures = 0;
    QTimer::singleShot(0, this, &ScreenshotTour::runNext);
}

void ScreenshotTour::runNext()
{
    if (m_next >= m_steps.size()) {
        say(tr("Screenshots done: %1 of %2 saved")
                .arg(m_steps.size() - m_failures)
                .arg(m_steps.size()));
        emit finished(m_failures);
        return;
    }
    const Step step = m_steps.at(m_next++);
    if (step.window) {
        if (step.run)
            step.run();
        QTimer::singleShot(step.settleMs, this, [this, step] {
            if (!step.window || !save(step.window, step.fileName))
                ++m_failures;
            runNext();
        });
        return;
    }
    runDialogStep(step);
    QTimer::singleShot(0, this, &ScreenshotTour::runNext);
}

void ScreenshotTour::runDialogStep(const Step &step)
{
    m_current = step;
    m_candidate = nullptr;
    m_captured = false;
    m_rescued = false;
    m_before.clear();
    const QWidgetList existing = QApplication::topLevelWidgets();
    for (QWidget *widget : existing) {
        if (widget->isVisible())
            m_before.append(widget);
    }
    m_clock.start();
    m_poll.start();
    step.run(); // blocks while the dialog is open
    m_poll.stop();
    if (!m_captured) {
        ++m_failures;
        if (!m_rescued) // the timeout has said so already
            complain(tr("%1: no dialog appeared").arg(step.fileName));
    }
}

QWidget *ScreenshotTour::findDialog() const
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (!m_before.contains(modal))
            return modal;
    }
    // A dialog that is up without being modal still counts.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->isVisible() && qobject_cast<QDialog *>(widget) && !m_before.contains(widget))
            return widget;
    }
    return nullptr;
}

void ScreenshotTour::poll()
{
    const qint64 now = m_clock.elapsed();
    if (m_rescued) {
        if (now > AppearTimeoutMs + RescueTimeoutMs) {
            complain(
                tr("%1: the entry point does not return; ending the run").arg(m_current.fileName));
            m_poll.stop();
            QCoreApplication::exit(3);
        }
        return;
    }

    QWidget *dialog = m_captured ? nullptr : findDialog();
    if (dialog) {
        if (dialog != m_candidate) {
            m_candidate = dialog;
            m_candidateSince = now;
            return;
        }
        if (now - m_candidateSince < SettleMs)
            return;
        m_captured = true;
        if (!save(dialog, m_current.fileName))
            ++m_failures;
        closeDialog(dialog);
        return;
    }

    if (!m_captured && now > AppearTimeoutMs) {
        complain(tr("%1: no dialog appeared within %2 s")
                     .arg(m_current.fileName)
                     .arg(AppearTimeoutMs / 1000));
        m_rescued = true;
        // Whatever the entry point waits on, try to let it go.
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *widget : windows) {
            if (widget->isVisible() && !m_before.contains(widget))
                closeDialog(widget);
        }
    }
}

bool ScreenshotTour::save(QWidget *widget, const QString &fileName)
{
    const QString path = m_folder.absoluteFilePath(fileName);
    if (!widget->grab().save(path, "PNG")) {
        complain(tr("Cannot write %1").arg(path));
        return false;
    }
    say(tr("Saved %1 (%2)").arg(path, QString::fromLatin1(widget->metaObject()->className())));
    return true;
}

void ScreenshotTour::closeDialog(QWidget *widget)
{
    if (auto *dialog = qobject_cast<QDialog *>(widget)) {
        if (m_current.close == Close::DoneZero)
            dialog->done(0);
        else
            dialog->reject();
        return;
    }
    widget->close();
}
