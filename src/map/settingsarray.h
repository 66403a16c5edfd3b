#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

class QSettings;

// Settings arrays in the standard layout (a "size" key beside sub-groups
// numbered from 1), read so that what a file claims cannot cost more than
// what it holds: an entry counts only when it is present, and the stored
// size only bounds the numbers that are looked at. Rewriting an array always
// leaves it consecutive, without stale entries.
namespace SettingsArray {

// The numbers of the entries to read, ascending: the stored size (absent,
// not an integer or negative counts as 0) capped to the highest entry
// present, and of the numbers up to that only those present, since a
// missing entry is no entry. `childGroups` are the names of the array's
// sub-groups; only the canonical decimal form of a number names an entry.
QList<int> entryNumbers(const QVariant &storedSize, const QStringList &childGroups);

// The entries of the array `array` below the settings' current group, in
// order; each holds the values of `keys`, an invalid QVariant where the
// entry lacks a key.
QList<QVariantList> read(QSettings &settings, const QString &array, const QStringList &keys);

// Replaces the array: removes the group `array` with everything in it, then
// writes the entries as 1..k with size k (0 for no entries). Each entry
// gives the values of `keys` in order; a missing value is written as an
// empty text.
void write(QSettings &settings, const QString &array, const QStringList &keys,
           const QList<QVariantList> &entries);

} // namespace SettingsArray
