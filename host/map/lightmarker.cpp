#include "lightmarker.h"

#include "light.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace Arvel {

namespace {

// The glyph's box in device pixels, its anchor (the controller's place) at
// the bottom of the pole.
const QRectF HousingRect(-6.0, -34.0, 12.0, 26.0);
const QRectF LabelRect(9.0, -30.0, 90.0, 16.0);

} // namespace

LightMarker::LightMarker(Light *light)
    : m_light(light)
{
    setFlags(ItemIsSelectable | ItemIgnoresTransformations);
    setZValue(1.0);
    sync();
}

Light *LightMarker::light() const
{
    return m_light.data();
}

void LightMarker::sync()
{
    if (!m_light)
        return;
    prepareGeometryChange();
    setPos(m_light->position());
    m_label = m_light->id() > 0 ? QString::number(m_light->id()) : QStringLiteral("new");
    QString tip = QStringLiteral("%1 %2").arg(m_label, m_light->type());
    if (!m_light->description().isEmpty())
        tip += QLatin1Char('\n') + m_light->description();
    setToolTip(tip);
    update();
}

QRectF LightMarker::boundingRect() const
{
    return HousingRect.united(LabelRect)
        .united(QRectF(-2.0, -8.0, 4.0, 9.0))
        .adjusted(-2, -2, 2, 2);
}

void LightMarker::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const bool selected = option->state & QStyle::State_Selected;

    painter->setPen(QPen(QColor(60, 60, 60), 2.0));
    painter->drawLine(QPointF(0, -8), QPointF(0, 0));

    painter->setPen(
        QPen(selected ? QColor(30, 110, 230) : QColor(20, 20, 20), selected ? 2.5 : 1.0));
    painter->setBrush(QColor(45, 45, 45));
    painter->drawRoundedRect(HousingRect, 3, 3);

    const QColor lamps[] = {QColor(230, 40, 40), QColor(250, 190, 30), QColor(40, 190, 70)};
    painter->setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        painter->setBrush(lamps[i]);
        painter->drawEllipse(QPointF(0, HousingRect.top() + 4.5 + i * 8.0), 3.2, 3.2);
    }

    QFont font = painter->font();
    font.setPixelSize(12);
    font.setBold(true);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    QRectF label(LabelRect.topLeft(),
                 QSizeF(metrics.horizontalAdvance(m_label) + 8.0, LabelRect.height()));
    painter->setPen(QPen(selected ? QColor(30, 110, 230) : QColor(90, 90, 90), 1.0));
    painter->setBrush(QColor(255, 255, 255, 230));
    painter->drawRoundedRect(label, 3, 3);
    painter->setPen(QColor(20, 20, 20));
    painter->drawText(label, Qt::AlignCenter, m_label);
}

} // namespace Arvel
