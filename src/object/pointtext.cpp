#include "pointtext.h"

#include <QStringList>
#include <QtNumeric>

namespace PointText {

QString format(const QPointF &point)
{
    return QStringLiteral("%1;%2").arg(point.x(), 0, 'g', 12).arg(point.y(), 0, 'g', 12);
}

static bool parseCoordinate(const QString &text, double *value)
{
    bool ok = false;
    // QString::toDouble reads the C locale whatever the user's locale is;
    // it accepts "nan" and "inf", which no position may hold.
    const double result = text.toDouble(&ok);
    if (!ok || !qIsFinite(result))
        return false;
    *value = result;
    return true;
}

bool parse(const QString &text, QPointF *point)
{
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    double x = 0;
    double y = 0;
    if (!parseCoordinate(parts.at(0), &x) || !parseCoordinate(parts.at(1), &y))
        return false;
    if (point)
        *point = QPointF(x, y);
    return true;
}

} // namespace PointText
