#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>

ModalDriver::ModalDriver(QList<Action> actions, Open open)
    : m_actions(std::move(actions))
    , m_before(open == Open::Ignored ? activeWindow() : nullptr)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    // The first look comes in the very next event loop, the modal one
    // included; then every few milliseconds.
    QTimer::singleShot(0, this, &ModalDriver::poll);
    m_timer.start(5);
    m_clock.start();
}

void ModalDriver::close(QWidget *window)
{
    if (auto *box = qobject_cast<QMessageBox *>(window)) {
        const QList<QAbstractButton *> buttons = box->buttons();
        if (!buttons.isEmpty()) {
            buttons.first()->click();
            return;
        }
    }
    if (auto *dialog = qobject_cast<QDialog *>(window))
        dialog->reject();
    else
        window->close();
}

void ModalDriver::press(QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    auto *box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    if (box && box->button(which))
        box->button(which)->click();
    else if (which == QDialogButtonBox::Ok && qobject_cast<QDialog *>(dialog))
        static_cast<QDialog *>(dialog)->accept();
    else
        close(dialog);
}

QWidget *ModalDriver::activeWindow()
{
    QWidget *popup = QApplication::activePopupWidget();
    return popup ? popup : QApplication::activeModalWidget();
}

void ModalDriver::poll()
{
    QWidget *widget = activeWindow();
    if (!widget || widget == m_before)
        return;
    for (const ModalSeen &old : qAsConst(m_seen)) {
        if (old.widget == widget) {
            if (m_clock.elapsed() > 5000) {
                m_gaveUp = true;
                close(widget);
            }
            return;
        }
    }
    ModalSeen s;
    s.widget = widget;
    s.className = QString::fromLatin1(widget->metaObject()->className());
    s.objectName = widget->objectName();
    s.title = widget->windowTitle();
    s.parent = widget->parentWidget();
    s.modality = widget->windowModality();
    if (auto *box = qobject_cast<QMessageBox *>(widget)) {
        s.text = box->text();
        s.icon = box->icon();
        s.buttons = box->standardButtons();
    }
    m_seen.append(s);
    m_clock.restart();
    const int index = m_seen.size() - 1;
    if (index < m_actions.size())
        m_actions.at(index)(widget);
    else
        close(widget);
}
