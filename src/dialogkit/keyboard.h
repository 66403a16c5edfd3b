#pragma once

#include <QList>

class QAbstractButton;
class QAbstractItemView;
class QWidget;

// What a dialog needs so that it is used from the keyboard alone, as with the
// mouse.
namespace Keyboard {

// Insert presses `add` and Delete presses `remove` while the view itself has
// the focus; in a cell editor both keep their meaning there. Either button
// may be null.
void bindRowKeys(QAbstractItemView *view, QAbstractButton *add, QAbstractButton *remove);

// Puts widgets made after the rest of the window (a grid filled in code) into
// the Tab order where `panel`, which holds them, stands.
void placeInTabOrder(QWidget *panel, const QList<QWidget *> &widgets);

} // namespace Keyboard
