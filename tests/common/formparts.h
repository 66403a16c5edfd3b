#pragma once

#include <QDialogButtonBox>
#include <QObject>
#include <QString>
#include <QStringList>

class QCheckBox;
class QGridLayout;
class QTableWidget;

// A form's parts reached by their object names, as the host's forms and
// scripts reach them, pressed and read as a user sees them. A part that is
// missing fails the test (or reads as such) rather than crashing it.

template<typename T> T *part(const QObject *form, const char *name)
{
    return form->findChild<T *>(QLatin1String(name));
}
template<typename T> T *part(const QObject &form, const char *name)
{
    return part<T>(&form, name);
}

// Clicks the form's button of that name.
void press(const QObject &form, const char *button);
// Clicks a standard button of the form's "buttonBox".
void press(const QObject &form, QDialogButtonBox::StandardButton which);

// The texts of a table's rows, the cells of the first `columns` columns
// (every column when negative) joined by "|"; "<no item>" for a cell without
// an item.
QStringList rowTexts(const QTableWidget *table, int columns = -1);

// The texts of a grid's checked boxes, in the grid's order.
QStringList checkedTexts(const QGridLayout *grid);
// The first check box below `parent` that shows `text`, or null.
QCheckBox *boxWithText(const QObject *parent, const QString &text);

// The shape of the application's override cursor, -1 when there is none.
int overrideCursorShape();

// Drops the warning the offscreen platform gives for every window it shows,
// which says nothing about the code under test.
void quietOffscreenWarnings();
