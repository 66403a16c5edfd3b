#pragma once

#include <QPointF>
#include <QString>

// How the map writes coordinates: grid labels with the hemisphere's letter
// ("50°W", never "-50°E"), and the pointer's place as the object dialog's
// Position field takes it, longitude first.
namespace CoordinateText {

// Whole degrees without decimals, others with three, or more when the grid's
// `step` (in degrees) needs them.
QString longitude(double degrees, double step);
QString latitude(double degrees, double step);

// "longitude;latitude" with five decimals (about a metre).
QString point(const QPointF &lonLat);

} // namespace CoordinateText
