#pragma once

#include <QPointF>
#include <QString>

// The text form of a map position as the object dialog shows it: x (the
// longitude) and y joined by ";", each with 12 significant digits.
namespace PointText {

QString format(const QPointF &point);

// Splits at ";" and drops empty parts; exactly two finite numbers in C-locale
// form make a point. Anything else leaves *point alone and returns false.
bool parse(const QString &text, QPointF *point);

} // namespace PointText
