#include "pointtext.h"

#include <QStringList>
#include <QVariant>
#include <QtNumeric>

namespace {

bool parseNumber(const QString &text, double *value)
{
    bool ok = false;
    // QString::toDouble reads the C locale whatever the user's locale is,
    // ignores spaces around the number and rejects group separators; it
    // accepts "nan" and "inf", which no point may hold, and gives an infinity
    // with ok set for "1e400".
    const double number = text.toDouble(&ok);
    if (!ok || !qIsFinite(number))
        return false;
    *value = number;
    return true;
}

double storedNumber(const QVariant &stored)
{
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok && qIsFinite(value) ? value : 0.0;
}

} // namespace

const PointText PointText::position(12, PointText::EmptyParts::Skipped);
const PointText PointText::centre(6, PointText::EmptyParts::Counted);

QString PointText::format(const QPointF &point) const
{
    return QStringLiteral("%1;%2")
        .arg(point.x(), 0, 'g', m_digits)
        .arg(point.y(), 0, 'g', m_digits);
}

bool PointText::parse(const QString &text, QPointF *point) const
{
    const QStringList parts =
        text.split(QLatin1Char(';'),
                   m_emptyParts == EmptyParts::Skipped ? Qt::SkipEmptyParts : Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    double x = 0;
    double y = 0;
    if (!parseNumber(parts.at(0), &x) || !parseNumber(parts.at(1), &y))
        return false;
    if (point)
        *point = QPointF(x, y);
    return true;
}

QPointF PointText::fromStored(const QVariant &x, const QVariant &y)
{
    return QPointF(storedNumber(x), storedNumber(y));
}
