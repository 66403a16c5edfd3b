// Presence maps: the merge gives the same numbers in the same order as the
// plain definition: for every byte k of the map, high nibble (j = 0) first,
// every entry that is not 0xF stands for the number 2k + j, and a number
// already held is skipped. Decoding gives the present numbers ascending.
//
// The first byte of the input says how many numbers the table already holds
// (up to 63); that many 4-byte integers follow, any value; the rest is the
// map.

#include "fuzzcheck.h"
#include "presencemap.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <cstring>

namespace {

// The rows the object dialog's plain definition appends, searching the held
// numbers row by row.
NO_COVERAGE QVector<int> plainMerge(const QByteArray &map, QVector<int> held)
{
    QVector<int> appended;
    for (int k = 0; k < map.size(); ++k) {
        const quint8 byte = quint8(map.at(k));
        for (int j = 0; j < 2; ++j) {
            const int entry = j == 0 ? byte >> 4 : byte & 0x0F;
            if (entry == 0xF)
                continue;
            const int n = 2 * k + j;
            if (held.contains(n))
                continue;
            held.append(n);
            appended.append(n);
        }
    }
    return appended;
}

QString describe(const QByteArray &map, const QVector<int> &held)
{
    QStringList numbers;
    for (int n : held)
        numbers << QString::number(n);
    return QLatin1String("map ") + QLatin1String(map.toHex()) + QLatin1String(", held ")
           + numbers.join(QLatin1Char(','));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    size_t count = data[0] & 0x3F;
    size_t at = 1;
    QVector<int> held;
    for (; count > 0 && at + 4 <= size; --count, at += 4) {
        qint32 n = 0;
        std::memcpy(&n, data + at, sizeof n);
        // Small numbers are the ones that can collide with the map's.
        held.append(data[at] & 0x80 ? n : n & 0xFF);
    }
    const QByteArray map(reinterpret_cast<const char *>(data + at), int(size - at));

    const QVector<int> merged = PresenceMap::missing(map, held);
    FUZZ_CHECK(merged == plainMerge(map, held), describe(map, held));

    const QVector<int> decoded = PresenceMap::decode(map);
    FUZZ_CHECK(decoded == plainMerge(map, {}), describe(map, {}));
    for (int i = 1; i < decoded.size(); ++i)
        FUZZ_CHECK(decoded.at(i - 1) < decoded.at(i), describe(map, {}));
    return 0;
}
