#include "controllerposition.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtNumeric>

#include <cmath>

namespace ControllerPosition {

double toDegrees(double packed)
{
    return std::trunc(packed / 100.0) + std::fmod(packed, 100.0) / 60.0;
}

static bool parseDegrees(const QString &text, double *degrees)
{
    bool ok = false;
    // QString::toDouble reads the C locale whatever the user's locale is.
    const double packed = text.toDouble(&ok);
    if (!ok || !qIsFinite(packed))
        return false;
    const double result = toDegrees(packed);
    if (!qIsFinite(result))
        return false;
    *degrees = result;
    return true;
}

bool parse(const QString &text, QPointF *point)
{
    static const QRegularExpression separators(QStringLiteral("[ ne]"));
    const QStringList parts = text.trimmed().toLower().split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    double latitude = 0;
    double longitude = 0;
    if (!parseDegrees(parts.at(0), &latitude) || !parseDegrees(parts.at(1), &longitude))
        return false;
    if (point)
        *point = QPointF(longitude, latitude);
    return true;
}

} // namespace ControllerPosition
