#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Plain rules of the custom properties editor.
//
// The editor shows each property's value as text and hands edited values back
// as text. textKeepsValue tells for which values that round trip is harmless;
// rowAfterRemoval picks the row that stays selected when rows are removed.
namespace CustomProperties {

// Whether the text form of `value` stands for it: a text, or a value (a
// number, a truth value) that its text converts back to unchanged. Lists,
// maps and anything without a faithful text form give false. An invalid value
// gives true: its text, the empty string, is all there is to keep.
bool textKeepsValue(const QVariant &value);

// Whether a row's name names a property: the editor drops a row without one.
bool namesProperty(const QString &name);

// The row to select once `removed` (distinct rows, in the order they were
// selected) go from a table of `rowCount` rows, counted before the removal:
// the row after the last one listed (or the first row after it that stays),
// failing that the nearest row above; never a removed row. -1 when no row is
// left.
int rowAfterRemoval(const QList<int> &removed, int rowCount);

} // namespace CustomProperties
