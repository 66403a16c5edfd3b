#include "crossview.h"

#include "light.h"

#include <QPainter>
#include <QVariant>

namespace Arvel {

CrossView::CrossView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("crossView"));
    setMinimumSize(160, 150);
}

void CrossView::setLight(Light *light)
{
    m_light = light;
    update();
}

void CrossView::previewPhase(int phase)
{
    const int shown = phase < 0 ? -1 : phase;
    if (shown == m_phase)
        return;
    m_phase = shown;
    update();
    emit previewChanged(m_phase);
}

QSize CrossView::sizeHint() const
{
    return QSize(220, 200);
}

QString CrossView::phaseDescription() const
{
    if (!m_light || m_phase < 0)
        return QString();
    const QList<QObject *> phases = m_light->phases();
    for (QObject *phase : phases) {
        if (phase->property("id").toInt() == m_phase)
            return phase->property("description").toString();
    }
    return QString();
}

void CrossView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(250, 250, 247));

    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -42);
    const double side = qMin(area.width(), area.height());
    const QRectF square(area.center().x() - side / 2, area.top(), side, side);
    const double road = side / 4;
    const QPointF c = square.center();

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 120, 120));
    painter.drawRect(QRectF(c.x() - road / 2, square.top(), road, side));
    painter.drawRect(QRectF(square.left(), c.y() - road / 2, side, road));

    if (m_phase >= 0) {
        // Odd phases open the north-south road, even ones the east-west road.
        const bool northSouth = m_phase % 2 == 1;
        QPen go(QColor(40, 190, 70), 4.0, Qt::SolidLine, Qt::RoundCap);
        QPen stop(QColor(230, 40, 40), 4.0, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(northSouth ? go : stop);
        painter.drawLine(QPointF(c.x(), square.top() + 4), QPointF(c.x(), c.y() - road / 2 - 2));
        painter.drawLine(QPointF(c.x(), square.bottom() - 4), QPointF(c.x(), c.y() + road / 2 + 2));
        painter.setPen(northSouth ? stop : go);
        painter.drawLine(QPointF(square.left() + 4, c.y()), QPointF(c.x() - road / 2 - 2, c.y()));
        painter.drawLine(QPointF(square.right() - 4, c.y()), QPointF(c.x() + road / 2 + 2, c.y()));
    }

    QFont font = painter.font();
    font.setPixelSize(16);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(m_phase >= 0 ? QColor(20, 20, 20) : QColor(150, 150, 150));
    const QRectF caption(rect().left() + 4, rect().bottom() - 40, rect().width() - 8, 20);
    painter.drawText(caption, Qt::AlignCenter,
                     m_phase >= 0 ? tr("Phase %1").arg(m_phase) : tr("No phase preview"));
    font.setPixelSize(11);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(80, 80, 80));
    const QRectF detail(rect().left() + 4, rect().bottom() - 20, rect().width() - 8, 18);
    painter.drawText(
        detail, Qt::AlignCenter,
        painter.fontMetrics().elidedText(phaseDescription(), Qt::ElideRight, int(detail.width())));
}

} // namespace Arvel
