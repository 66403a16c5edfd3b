// Point text (the object dialog's position): parsing never crashes; an
// accepted point is finite, and formatted and parsed again it gives the same
// text; the text of a point with a non-finite part is always rejected.
//
// The input is read twice: as text, and, when it is at least 16 bytes long,
// its first 16 bytes as the two doubles of a point (so that NaN, infinities
// and subnormal numbers are formatted too).

#include "fuzzcheck.h"
#include "pointtext.h"

#include <QtNumeric>

#include <cstdint>
#include <cstring>

namespace {

// format(parse(format(p))) == format(p) for a finite point.
void checkFormattedPoint(const QPointF &point, const QString &origin)
{
    const QString text = PointText::format(point);
    FuzzCheck::feedback(text);
    QPointF parsed(-1, -1);
    FUZZ_CHECK(PointText::parse(text, &parsed), origin + QLatin1String(" -> ") + text);
    FUZZ_CHECK(PointText::format(parsed) == text, origin + QLatin1String(" -> ") + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    const QPointF untouched(-1, -1);
    QPointF point = untouched;
    if (PointText::parse(text, &point)) {
        FUZZ_CHECK(qIsFinite(point.x()) && qIsFinite(point.y()), text);
        checkFormattedPoint(point, text);
    } else {
        FUZZ_CHECK(point == untouched, text);
    }

    if (size >= 16) {
        double x = 0;
        double y = 0;
        std::memcpy(&x, data, sizeof x);
        std::memcpy(&y, data + 8, sizeof y);
        const QPointF raw(x, y);
        if (qIsFinite(x) && qIsFinite(y)) {
            checkFormattedPoint(raw, PointText::format(raw));
        } else {
            const QString formatted = PointText::format(raw);
            FUZZ_CHECK(!PointText::parse(formatted, &point), formatted);
        }
    }
    return 0;
}
