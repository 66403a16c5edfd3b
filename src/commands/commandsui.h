#pragma once

#include "commandtables.h"

#include <QList>
#include <QString>

#include <functional>

class QGridLayout;
class QWidget;

// The controller vocabulary and the check-box grids built from it: a plain,
// stateless second base of the widgets that show it. Box i of a grid's layout
// stands for row i of the list that filled it.
class CommandsUi
{
public:
    enum class CheckMode { Clear = 0, Select = 1, Invert = 2 };

    CommandsUi();

    // Fills an empty grid column by column, 12 rows by 4 columns; a grid that
    // already holds one box per row is left as it is.
    void fillGrid(const QList<CommandDesc> &list, QGridLayout *grid) const;

    // "0x<hex>," for each checked box, in list order; empty when none is.
    QString checkedCodes(const QList<CommandDesc> &list, QGridLayout *grid) const;

    // Checks each box exactly when `isSelected` holds for its code, asked once
    // per box in list order; without a predicate every box is unchecked.
    void setChecks(const QList<CommandDesc> &list, QGridLayout *grid,
                   const std::function<bool(int code)> &isSelected) const;

    // Notification grids: box i stands for bit (id mod 32) of an events mask.
    void setChecksFromMask(QGridLayout *grid, quint32 mask) const;
    quint32 maskFromChecks(QGridLayout *grid) const;

    // Acts on every box of the panel's grid, unless the panel is missing or
    // disabled (a panel in custom mode, or on a disabled page).
    void setAllChecks(QWidget *panel, CheckMode mode) const;

    const QList<CommandDesc> &commands() const { return m_commands; }
    const QList<CommandDesc> &notifications() const { return m_notifications; }

private:
    const QList<CommandDesc> m_commands;
    const QList<CommandDesc> m_notifications;
};
