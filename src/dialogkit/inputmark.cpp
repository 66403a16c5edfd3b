#include "inputmark.h"

#include <QLineEdit>
#include <QPalette>
#include <QTableWidget>

namespace InputMark {

namespace {

// A quarter of red over the base, so that the text stays readable on light
// and dark palettes alike.
QColor tinted(const QColor &base)
{
    const qreal keep = 0.75;
    return QColor::fromRgbF(base.redF() * keep + (1 - keep), base.greenF() * keep,
                            base.blueF() * keep);
}

} // namespace

void mark(QLineEdit *field, const QString &problem)
{
    field->setToolTip(problem);
    field->setAccessibleDescription(problem);
    const bool marked = field->testAttribute(Qt::WA_SetPalette);
    if (marked == !problem.isEmpty())
        return;
    if (marked) {
        field->setPalette(QPalette());
        return;
    }
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, tinted(palette.color(group, QPalette::Base)));
    field->setPalette(palette);
}

void mark(QTableWidgetItem *cell, const QString &problem)
{
    // Each change of an item tells the table's model: only real changes do.
    if (cell->toolTip() != problem)
        cell->setToolTip(problem);
    // A screen reader reads a cell's description, never its tooltip.
    if (cell->data(Qt::AccessibleDescriptionRole).toString() != problem)
        cell->setData(Qt::AccessibleDescriptionRole, problem);
    const bool marked = cell->data(Qt::BackgroundRole).isValid();
    if (marked == !problem.isEmpty() || !cell->tableWidget())
        return;
    if (marked)
        cell->setData(Qt::BackgroundRole, QVariant());
    else
        cell->setBackground(tinted(cell->tableWidget()->palette().color(QPalette::Base)));
}

} // namespace InputMark
