// Centre text (a map preset's centre): parsing never crashes; an accepted
// centre is finite, and formatted and parsed again it gives the same text; a
// centre with a non-finite part is always rejected, and a stored coordinate
// reads as a finite number whatever it holds.
//
// The input is read twice: as text, and, when it is at least 16 bytes long,
// its first 16 bytes as the two doubles of a centre (so that NaN, infinities
// and subnormal numbers are formatted too).

#include "centretext.h"
#include "fuzzcheck.h"

#include <QVariant>
#include <QtNumeric>

#include <cstdint>
#include <cstring>

namespace {

// format(parse(format(c))) == format(c) for a finite centre.
void checkFormattedCentre(double lon, double lat, const QString &origin)
{
    const QString text = CentreText::format(lon, lat);
    FuzzCheck::feedback(text);
    double lonAgain = -1;
    double latAgain = -1;
    FUZZ_CHECK(CentreText::parse(text, &lonAgain, &latAgain),
               origin + QLatin1String(" -> ") + text);
    FUZZ_CHECK(CentreText::format(lonAgain, latAgain) == text,
               origin + QLatin1String(" -> ") + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    double lon = -1;
    double lat = -1;
    if (CentreText::parse(text, &lon, &lat)) {
        FUZZ_CHECK(qIsFinite(lon) && qIsFinite(lat), text);
        checkFormattedCentre(lon, lat, text);
    } else {
        FUZZ_CHECK(lon == -1 && lat == -1, text);
    }
    FUZZ_CHECK(qIsFinite(CentreText::coordinate(QVariant(text))), text);

    if (size >= 16) {
        double x = 0;
        double y = 0;
        std::memcpy(&x, data, sizeof x);
        std::memcpy(&y, data + 8, sizeof y);
        FUZZ_CHECK(qIsFinite(CentreText::coordinate(QVariant(x))), text);
        if (qIsFinite(x) && qIsFinite(y)) {
            checkFormattedCentre(x, y, CentreText::format(x, y));
        } else {
            const QString formatted = CentreText::format(x, y);
            FUZZ_CHECK(!CentreText::parse(formatted, &lon, &lat), formatted);
        }
    }
    return 0;
}
