#pragma once

#include <QPointer>

#include <utility>

class QString;
class QWidget;

// A dialog on the heap, run modally and deleted at the end of the scope. The
// host may destroy it with its parent during its own event loop (where Qt's
// static dialogs on the stack are freed twice); gone() then tells the caller
// to touch neither again.
template<typename Dialog> class ModalDialog
{
public:
    template<typename... Args>
    explicit ModalDialog(Args &&...args)
        : m_dialog(new Dialog(std::forward<Args>(args)...))
    {
    }
    ~ModalDialog() { delete m_dialog.data(); }
    ModalDialog(const ModalDialog &) = delete;
    ModalDialog &operator=(const ModalDialog &) = delete;

    Dialog *get() const { return m_dialog.data(); }
    Dialog *operator->() const { return m_dialog.data(); }

    // The dialog's result; meaningless when gone() is true afterwards.
    int exec() { return m_dialog->exec(); }
    // Whether the dialog was destroyed while it ran.
    bool gone() const { return m_dialog.isNull(); }

private:
    QPointer<Dialog> m_dialog;
};

// A critical message box with a single OK button, which is also its default,
// as QMessageBox::critical shows it. False when the box was destroyed while
// it ran: its parent may be gone too.
bool showCriticalBox(QWidget *parent, const QString &title, const QString &text);
