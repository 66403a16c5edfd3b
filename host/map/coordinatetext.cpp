#include "coordinatetext.h"

#include <QLocale>

#include <cmath>

namespace CoordinateText {

namespace {

QString label(double degrees, double step, QChar positive, QChar negative)
{
    // Whole degrees bare, others with three decimals or as many as the step needs.
    const double rounded = std::round(degrees);
    const bool whole = std::abs(degrees - rounded) < 1e-9;
    const int needed = step > 0.0 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
    const int decimals = whole ? 0 : qBound(3, needed, 9);
    const QString number =
        QLocale::c().toString(std::abs(whole ? rounded : degrees), 'f', decimals);
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

QString point(const QPointF &lonLat)
{
    return QStringLiteral("%1;%2").arg(QLocale::c().toString(lonLat.x(), 'f', 5),
                                       QLocale::c().toString(lonLat.y(), 'f', 5));
}

} // namespace CoordinateText
