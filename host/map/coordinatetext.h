#pragma once

#include <QPointF>
#include <QString>

// How the map writes coordinates: grid labels with the hemisphere's letter
// ("50°W", never "-50°E"), and the pointer's place as the object dialog's
// Position field takes it, longitude first.
namespace CoordinateText {

// Grid labels, all of one grid alike: with as many decimals as the grid's
// `step` (in degrees) needs to tell neighbouring lines apart ("38.0°E" beside
// "37.8°E"), none for whole steps.
QString longitude(double degrees, double step);
QString latitude(double degrees, double step);

enum class Side { After, Before };
// Where a grid line's label of `size` pixels starts along a view's edge of
// `edge` pixels, the line being at `line`: a small gap after or before the
// line, on the `preferred` side when the label fits whole there, else on the
// other; -1 when the line is outside the edge or the label fits on neither
// side, so that no label is cut.
int labelStart(int line, int size, int edge, Side preferred);

// "longitude;latitude" with five decimals (about a metre).
QString point(const QPointF &lonLat);

} // namespace CoordinateText
