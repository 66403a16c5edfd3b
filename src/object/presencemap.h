#pragma once

#include <QByteArray>
#include <QVector>

// A controller's presence map of numbered parameters (phases or programs):
// two 4-bit entries per byte, the high nibble first; entry j of byte k stands
// for the number 2k + j, and an entry of 0xF marks that number absent. What a
// present entry holds beyond that carries no meaning.
namespace PresenceMap {

// The numbers the map marks present, ascending.
QVector<int> decode(const QByteArray &map);

// The present numbers that are not among `existing`, in map order: the rows a
// table holding `existing` lacks. Linear in the map and in `existing`, which
// may hold any numbers, repeated or out of the map's range.
QVector<int> missing(const QByteArray &map, const QVector<int> &existing);

} // namespace PresenceMap
