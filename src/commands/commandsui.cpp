#include "commandsui.h"

#include "filterexpression.h"
#include "keyboard.h"

#include <QCheckBox>
#include <QGridLayout>

namespace {

const int gridRows = 12;
const int gridColumns = 4;

// The box of row i, or null where the walk over a grid has to stop: a missing
// item or anything but a check box ends the pairing of boxes and rows.
QCheckBox *boxAt(QLayout *layout, int i)
{
    QLayoutItem *item = layout->itemAt(i);
    return item ? qobject_cast<QCheckBox *>(item->widget()) : nullptr;
}

// Calls f(box, row) for the boxes that pair with rows of `list`.
template<typename F> void forEachBox(const QList<CommandDesc> &list, QGridLayout *grid, F f)
{
    if (!grid)
        return;
    const int n = qMin(grid->count(), list.size());
    for (int i = 0; i < n; ++i) {
        QCheckBox *box = boxAt(grid, i);
        if (!box)
            return;
        f(box, list.at(i));
    }
}

// Rich text, which Qt wraps at a readable width: the longest descriptions
// would otherwise be one line across most of the screen. Every character
// stays as written; an empty description gives no tooltip.
QString toolTipOf(const QString &description)
{
    if (description.isEmpty())
        return QString();
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
        .arg(description.toHtmlEscaped());
}

} // namespace

CommandsUi::CommandsUi()
    : m_commands(CommandTables::requests())
    , m_notifications(CommandTables::notifications())
{
}

void CommandsUi::fillGrid(const QList<CommandDesc> &list, QGridLayout *grid) const
{
    if (!grid || list.size() == grid->count())
        return;
    QWidget *panel = grid->parentWidget();
    QList<QWidget *> boxes;
    int i = 0;
    for (int column = 0; column < gridColumns; ++column) {
        for (int row = 0; row < gridRows && i < list.size(); ++row, ++i) {
            auto *box = new QCheckBox(panel);
            box->setText(list.at(i).name);
            box->setToolTip(toolTipOf(list.at(i).description));
            grid->addWidget(box, row, column);
            boxes << box;
        }
    }
    // Made after the form, the boxes would come last in the Tab order, after
    // OK and Cancel.
    Keyboard::placeInTabOrder(panel, boxes);
}

QString CommandsUi::checkedCodes(const QList<CommandDesc> &list, QGridLayout *grid) const
{
    QString codes;
    forEachBox(list, grid, [&codes](QCheckBox *box, const CommandDesc &row) {
        if (box->isChecked())
            codes += FilterExpression::codeItem(row.code);
    });
    return codes;
}

void CommandsUi::setChecks(const QList<CommandDesc> &list, QGridLayout *grid,
                           const std::function<bool(int code)> &isSelected) const
{
    forEachBox(list, grid, [&isSelected](QCheckBox *box, const CommandDesc &row) {
        box->setChecked(isSelected && isSelected(row.code));
    });
}

void CommandsUi::setChecksFromMask(QGridLayout *grid, quint32 mask) const
{
    forEachBox(m_notifications, grid, [mask](QCheckBox *box, const CommandDesc &row) {
        box->setChecked(mask & (1u << (row.code & 31)));
    });
}

quint32 CommandsUi::maskFromChecks(QGridLayout *grid) const
{
    quint32 mask = 0;
    forEachBox(m_notifications, grid, [&mask](QCheckBox *box, const CommandDesc &row) {
        if (box->isChecked())
            mask |= 1u << (row.code & 31);
    });
    return mask;
}

void CommandsUi::setAllChecks(QWidget *panel, CheckMode mode) const
{
    if (!panel || !panel->isEnabled())
        return;
    QLayout *layout = panel->layout();
    if (!layout)
        return;
    for (int i = 0; i < layout->count(); ++i) {
        QCheckBox *box = boxAt(layout, i);
        if (!box)
            return;
        switch (mode) {
        case CheckMode::Clear:
            box->setChecked(false);
            break;
        case CheckMode::Select:
            box->setChecked(true);
            break;
        case CheckMode::Invert:
            box->setChecked(!box->isChecked());
            break;
        }
    }
}
