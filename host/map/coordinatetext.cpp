#include "coordinatetext.h"

#include <QLocale>

#include <cmath>

namespace CoordinateText {

namespace {

QString label(double degrees, double step, QChar positive, QChar negative)
{
    const int decimals = step > 0.0 ? qBound(0, int(std::ceil(-std::log10(step) - 1e-9)), 9) : 0;
    const QString number = QLocale::c().toString(std::abs(degrees), 'f', decimals);
    // A value that rounds to zero has no hemisphere.
    if (QLocale::c().toDouble(number) == 0.0)
        return number + QStringLiteral("°");
    return number + QStringLiteral("°") + (degrees < 0 ? negative : positive);
}

} // namespace

QString longitude(double degrees, double step)
{
    return label(degrees, step, QLatin1Char('E'), QLatin1Char('W'));
}

QString latitude(double degrees, double step)
{
    return label(degrees, step, QLatin1Char('N'), QLatin1Char('S'));
}

int labelStart(int line, int size, int edge, Side preferred)
{
    const int gap = 3;
    if (line < 0 || line >= edge)
        return -1;
    const int after = line + gap;
    const int before = line - gap - size;
    const bool fitsAfter = after + size <= edge;
    const bool fitsBefore = before >= 0;
    if (preferred == Side::After)
        return fitsAfter ? after : fitsBefore ? before : -1;
    return fitsBefore ? before : fitsAfter ? after : -1;
}

QString point(const QPointF &lonLat)
{
    return QStringLiteral("%1;%2").arg(QLocale::c().toString(lonLat.x(), 'f', 5),
                                       QLocale::c().toString(lonLat.y(), 'f', 5));
}

} // namespace CoordinateText
