#pragma once

#include <QString>

class QVariant;

// The text in which a preset's centre is shown and typed: the longitude and
// the latitude joined by ";", each with 6 significant digits. Only finite
// numbers make a centre, so what is parsed can always be formatted and
// parsed again to the same text.
namespace CentreText {

QString format(double lon, double lat);

// Simplifies the white space, splits at ";" keeping empty parts; exactly two
// parts that are finite numbers in C-locale form (spaces around them
// allowed) make a centre. Anything else leaves *lon and *lat alone and
// returns false.
bool parse(const QString &text, double *lon, double *lat);

// A stored coordinate: its number, or 0 when it is absent, not a number or
// not finite.
double coordinate(const QVariant &stored);

} // namespace CentreText
