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
    if (!panel || widgets.isEmpty())
        return;
    // QWidget::setTabOrder moves only widgets that take the focus themselves.
    const auto takesTab = [&widgets](const QWidget *widget) {
        return widget->focusPolicy() != Qt::NoFocus && !widget->focusProxy()
               && !widgets.contains(const_cast<QWidget *>(widget));
    };
    const QWidget *window = panel->window();
    QList<QWidget *> order;
    for (QWidget *w = panel->previousInFocusChain(); w != window && w != panel;
         w = w->previousInFocusChain()) {
        if (takesTab(w)) {
            order << w;
            break;
        }
    }
    const bool first = order.isEmpty();
    order << widgets;
    // With nothing before them, the widgets go first: all that follows the
    // panel is moved behind them.
    for (QWidget *w = panel->nextInFocusChain(); first && w != window && w != panel;
         w = w->nextInFocusChain()) {
        if (takesTab(w))
            order << w;
    }
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

} // namespace Keyboard
