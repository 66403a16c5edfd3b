#include "presencemap.h"

#include <vector>

namespace PresenceMap {

namespace {

constexpr quint8 Absent = 0xF;

template<typename Visit> void forEachPresent(const QByteArray &map, Visit visit)
{
    const int size = map.size();
    for (int k = 0; k < size; ++k) {
        const quint8 byte = quint8(map.at(k));
        if ((byte >> 4) != Absent)
            visit(2 * k);
        if ((byte & 0x0F) != Absent)
            visit(2 * k + 1);
    }
}

} // namespace

QVector<int> decode(const QByteArray &map)
{
    QVector<int> numbers;
    forEachPresent(map, [&numbers](int n) { numbers.append(n); });
    return numbers;
}

QVector<int> missing(const QByteArray &map, const QVector<int> &existing)
{
    // One flag per number the map can name; existing numbers outside that
    // range cannot collide with any of them.
    const qint64 range = 2 * qint64(map.size());
    std::vector<bool> present(size_t(range), false);
    for (const int n : existing) {
        if (n >= 0 && n < range)
            present[size_t(n)] = true;
    }
    QVector<int> numbers;
    forEachPresent(map, [&numbers, &present](int n) {
        if (!present[size_t(n)])
            numbers.append(n);
    });
    return numbers;
}

} // namespace PresenceMap
