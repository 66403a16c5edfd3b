#include "keyboard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QShortcut>

namespace Keyboard {

namespace {

void bindKey(QAbstractItemView *view, Qt::Key key, QAbstractButton *button)
{
    if (!button)
        return;
    // Bound to the view alone: a cell editor, which has the focus while a
    // cell is edited, keeps the key.
    auto *shortcut = new QShortcut(QKeySequence(key), view);
    shortcut->setContext(Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
}

} // namespace

void bindRowKeys(QAbstractItemView *view, QAbstractButton *add, QAbstractButton *remove)
{
    bindKey(view, Qt::Key_Insert, add);
    bindKey(view, Qt::Key_Delete, remove);
}

void placeInTabOrder(QWidget *panel, const QList<QWidget *> &widgets)
{
    if (!panel)
        return;
    // QWidget::setTabOrder places a widget only after one that takes the
    // focus itself, and leaves it alone where Tab reaches it from there
    // already, counting round the end of the window: with nothing before the
    // panel that takes the focus, widgets made last would stay after OK. The
    // panel marks the place, taking the focus just while the order is set.
    const Qt::FocusPolicy policy = panel->focusPolicy();
    panel->setFocusPolicy(Qt::TabFocus);
    QWidget *previous = panel;
    for (QWidget *widget : widgets) {
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    panel->setFocusPolicy(policy);
}

} // namespace Keyboard
