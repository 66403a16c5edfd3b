// Controller position (latitude and longitude as degrees * 100 + minutes,
// with hemisphere letters): parsing never crashes; an accepted position is
// finite, and it is what the plain rule gives for the two parts: each part
// read as a number and converted to decimal degrees.

#include "controllerposition.h"
#include "fuzzcheck.h"

#include <QStringList>
#include <QtNumeric>

#include <cmath>
#include <cstdint>

namespace {

// The text split at every space, "n" and "e" of its trimmed, lower-cased
// form, empty parts dropped; written out by hand rather than with the
// regular expression the parser uses.
NO_COVERAGE QStringList plainParts(const QString &text)
{
    QStringList parts;
    QString part;
    for (const QChar c : text.trimmed().toLower()) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('n') || c == QLatin1Char('e')) {
            if (!part.isEmpty())
                parts.append(part);
            part.clear();
        } else {
            part.append(c);
        }
    }
    if (!part.isEmpty())
        parts.append(part);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    const QPointF untouched(-1, -1);
    QPointF point = untouched;
    const bool accepted = ControllerPosition::parse(text, &point);

    const QStringList parts = plainParts(text);
    bool okLatitude = false;
    bool okLongitude = false;
    const double latitude = parts.size() == 2 ? parts.at(0).toDouble(&okLatitude) : 0;
    const double longitude = parts.size() == 2 ? parts.at(1).toDouble(&okLongitude) : 0;
    const bool plainAccepts =
        okLatitude && okLongitude && qIsFinite(latitude) && qIsFinite(longitude);
    FUZZ_CHECK(accepted == plainAccepts, text);
    if (!accepted) {
        FUZZ_CHECK(point == untouched, text);
        return 0;
    }
    FUZZ_CHECK(qIsFinite(point.x()) && qIsFinite(point.y()), text);
    const double x = std::trunc(longitude / 100) + std::fmod(longitude, 100) / 60;
    const double y = std::trunc(latitude / 100) + std::fmod(latitude, 100) / 60;
    FUZZ_CHECK(point.x() == x && point.y() == y, text);
    FuzzCheck::feedback(QString::number(point.x(), 'g', 17));
    FuzzCheck::feedback(QString::number(point.y(), 'g', 17));
    return 0;
}
