#include "inputmarks.h"

#include <QLineEdit>
#include <QTableWidget>

QString columnMarks(const QTableWidget *table, int column)
{
    QString marks;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *cell = table->item(row, column);
        const bool tinted = cell->data(Qt::BackgroundRole).isValid();
        const bool told = cell->toolTip() == cell->data(Qt::AccessibleDescriptionRole).toString();
        marks += !told || tinted == cell->toolTip().isEmpty() ? '?' : tinted ? 'm' : '-';
    }
    return marks;
}

QString fieldMark(const QLineEdit *field, const QLineEdit *plain)
{
    const bool tinted = field->palette().base() != plain->palette().base();
    const bool told = field->toolTip() == field->accessibleDescription();
    return told && tinted != field->toolTip().isEmpty() ? (tinted ? "marked" : "plain")
                                                        : "half marked";
}
