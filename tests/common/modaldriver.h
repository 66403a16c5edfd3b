#pragma once

#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

// What a test saw of one modal window (or popup menu).
struct ModalSeen
{
    QPointer<QWidget> widget;
    QString className;
    QString objectName;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
};

// Drives the modal windows and popup menus that a blocking call opens. Made
// before the call, it watches from the event loops the call runs: the n-th
// window it sees is handed to the n-th action, and a window beyond the
// actions is closed. One that was modal already when the driver was made is
// left alone, unless it is asked for. Actions record what they find and the test compares
// after the call returns: a failed comparison inside an action would only
// leave the window open. A window still open 5 s after it came is closed and
// gaveUp() turns true, so that a fault fails the test instead of hanging it.
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget *)>;
    enum class Open { Ignored, Driven };

    explicit ModalDriver(QList<Action> actions = {}, Open open = Open::Ignored);
    explicit ModalDriver(Action action, Open open = Open::Ignored)
        : ModalDriver(QList<Action>{std::move(action)}, open)
    {
    }

    const QList<ModalSeen> &seen() const { return m_seen; }
    bool gaveUp() const { return m_gaveUp; }

    // Presses a message box's first button; rejects a dialog; closes anything else.
    static void close(QWidget *window);
    // Presses a button of the dialog's "buttonBox", as a user does.
    static void press(QWidget *dialog, QDialogButtonBox::StandardButton which);

private:
    void poll();
    static QWidget *activeWindow();

    QList<Action> m_actions;
    QPointer<QWidget> m_before;
    QList<ModalSeen> m_seen;
    bool m_gaveUp = false;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
