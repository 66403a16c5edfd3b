#include "tablesizing.h"

#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>

namespace TableSizing {

void fitColumnsToContents(QTableWidget *table)
{
    table->ensurePolished();
    table->resizeColumnsToContents();
    const QAbstractItemView *view = table; // whose sizeHintForColumn is public
    int width = 2 * table->frameWidth() + table->verticalHeader()->sizeHint().width()
                + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    for (int column = 0; column < table->columnCount(); ++column) {
        width += qMax(view->sizeHintForColumn(column),
                      table->horizontalHeader()->sectionSizeHint(column));
    }

    // The layouts widen the window to the table's minimum width, which is
    // the wanted one only while they do.
    QWidget *window = table->window();
    const int minimum = table->minimumWidth();
    table->setMinimumWidth(qMax(minimum, width));
    for (QWidget *widget = table; widget != window; widget = widget->parentWidget())
        widget->updateGeometry();
    if (QLayout *layout = window->layout())
        layout->activate();
    table->setMinimumWidth(minimum);
    const int available = window->screen()->availableGeometry().width();
    if (window->width() > available)
        window->resize(available, window->height());
}

} // namespace TableSizing
