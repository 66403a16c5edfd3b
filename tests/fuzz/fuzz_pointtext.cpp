// Point text, in both its forms (the object dialog's position and a map
// preset's centre): parsing never crashes; an accepted point is finite, and
// formatted and parsed again it gives the same text; the text of a point with
// a non-finite part is always rejected; a stored point reads as a finite one
// whatever it holds.
//
// The input is read twice: as text, and, when it is at least 16 bytes long,
// its first 16 bytes as the two doubles of a point (so that NaN, infinities
// and subnormal numbers are formatted too).

#include "fuzzcheck.h"
#include "pointtext.h"

#include <QVariant>
#include <QtNumeric>

#include <cstdint>
#include <cstring>

namespace {

bool isFinite(const QPointF &point)
{
    return qIsFinite(point.x()) && qIsFinite(point.y());
}

// format(parse(format(p))) == format(p) for a finite point.
void checkFormattedPoint(const PointText &form, const QPointF &point, const QString &origin)
{
    const QString text = form.format(point);
    FuzzCheck::feedback(text);
    QPointF parsed(-1, -1);
    FUZZ_CHECK(form.parse(text, &parsed), origin + QLatin1String(" -> ") + text);
    FUZZ_CHECK(form.format(parsed) == text, origin + QLatin1String(" -> ") + text);
}

void check(const PointText &form, const QString &text, const uint8_t *data, size_t size)
{
    const QPointF untouched(-1, -1);
    QPointF point = untouched;
    if (form.parse(text, &point)) {
        FUZZ_CHECK(isFinite(point), text);
        checkFormattedPoint(form, point, text);
    } else {
        FUZZ_CHECK(point == untouched, text);
    }

    if (size >= 16) {
        double x = 0;
        double y = 0;
        std::memcpy(&x, data, sizeof x);
        std::memcpy(&y, data + 8, sizeof y);
        const QPointF raw(x, y);
        const QString formatted = form.format(raw);
        if (isFinite(raw))
            checkFormattedPoint(form, raw, formatted);
        else
            FUZZ_CHECK(!form.parse(formatted, &point), formatted);
        FUZZ_CHECK(isFinite(PointText::fromStored(QVariant(x), QVariant(y))), formatted);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    check(PointText::position, text, data, size);
    check(PointText::centre, text, data, size);
    FUZZ_CHECK(isFinite(PointText::fromStored(QVariant(text), QVariant(text))), text);
    return 0;
}
