#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QDialog;
class QWidget;

// Saves a PNG of a window and of each dialog in turn, closing each dialog
// once grabbed; a dialog that never shows fails its step after a timeout.
class ScreenshotTour : public QObject
{
    Q_OBJECT

public:
    enum class Close { Reject, DoneZero };

    explicit ScreenshotTour(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return m_folder.absolutePath(); }

    // `prepare` runs first; the window is grabbed after `settleMs`.
    void addWindow(const QString &fileName, QWidget *window, int settleMs,
                   std::function<void()> prepare = {});
    // `open` must open a dialog and return once it has closed.
    void addDialog(const QString &fileName, std::function<void()> open,
                   Close close = Close::Reject);

    // Runs the steps from the event loop; finished() tells how many failed.
    void start();

signals:
    void finished(int failures);

private:
    struct Step
    {
        QString fileName;
        std::function<void()> run;
        QPointer<QWidget> window;
        int settleMs = 0;
        Close close = Close::Reject;
    };

    void runNext();
    void runDialogStep(const Step &step);
    void poll();
    QWidget *findDialog() const;
    bool save(QWidget *widget, const QString &fileName);
    void closeDialog(QWidget *widget);

    QDir m_folder;
    QList<Step> m_steps;
    int m_next = 0;
    int m_failures = 0;

    // State of the dialog step in progress.
    QTimer m_poll;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_candidate;
    qint64 m_candidateSince = 0;
    bool m_captured = false;
    bool m_rescued = false;
    Step m_current;
    QList<QPointer<QWidget>> m_before;
};
