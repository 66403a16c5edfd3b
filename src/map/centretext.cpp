#include "centretext.h"

#include <QStringList>
#include <QVariant>
#include <QtNumeric>

namespace CentreText {

namespace {

bool parseNumber(const QString &text, double *value)
{
    bool ok = false;
    // QString::toDouble reads the C locale whatever the user's locale is and
    // rejects group separators; it accepts "nan" and "inf", which no centre
    // may hold, and gives an infinity with ok set for "1e400".
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(number))
        return false;
    *value = number;
    return true;
}

} // namespace

QString format(double lon, double lat)
{
    return QStringLiteral("%1;%2").arg(lon, 0, 'g', 6).arg(lat, 0, 'g', 6);
}

bool parse(const QString &text, double *lon, double *lat)
{
    const QStringList parts = text.simplified().split(QLatin1Char(';'), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    double x = 0;
    double y = 0;
    if (!parseNumber(parts.at(0), &x) || !parseNumber(parts.at(1), &y))
        return false;
    if (lon)
        *lon = x;
    if (lat)
        *lat = y;
    return true;
}

double coordinate(const QVariant &stored)
{
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok && qIsFinite(value) ? value : 0.0;
}

} // namespace CentreText
