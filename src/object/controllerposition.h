#pragma once

#include <QPointF>
#include <QString>

// The position a controller reports about itself: latitude, then longitude,
// each written as degrees * 100 + minutes and followed by its hemisphere
// letter, for example "5545.500N 03730.000E".
namespace ControllerPosition {

// Decimal degrees of a value written as degrees * 100 + minutes: the whole
// hundreds are degrees, the rest (with the value's sign) minutes.
double toDegrees(double packed);

// Splits the trimmed, lower-cased text at every space, "n" and "e", dropping
// empty parts; exactly two parts that are finite numbers in C-locale form
// give the point (x the longitude, y the latitude) in decimal degrees, in
// double precision. Anything else leaves *point alone and returns false;
// other hemisphere letters ("s", "w") are no separators and so fail.
bool parse(const QString &text, QPointF *point);

} // namespace ControllerPosition
