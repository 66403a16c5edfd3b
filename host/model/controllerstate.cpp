#include "controllerstate.h"

#include <QLocale>
#include <QtMath>

namespace Arvel {

namespace {

QString degreesMinutes(double value, int integerDigits, QChar positive, QChar negative)
{
    const double magnitude = qAbs(value);
    const double degrees = std::floor(magnitude);
    double minutes = (magnitude - degrees) * 60.0;
    double whole = degrees;
    // Rounding to three decimals may carry the minutes over to a whole degree.
    if (qRound64(minutes * 1000.0) >= 60000) {
        minutes = 0.0;
        whole += 1.0;
    }
    const double packed = whole * 100.0 + minutes;
    QString text = QLocale::c().toString(packed, 'f', 3);
    const int point = text.indexOf(QLatin1Char('.'));
    if (point >= 0 && point < integerDigits)
        text.prepend(QString(integerDigits - point, QLatin1Char('0')));
    return text + (value < 0 ? negative : positive);
}

} // namespace

QString controllerPositionText(const QPointF &position)
{
    return degreesMinutes(position.y(), 4, QLatin1Char('N'), QLatin1Char('S')) + QLatin1Char(' ')
           + degreesMinutes(position.x(), 5, QLatin1Char('E'), QLatin1Char('W'));
}

QByteArray presenceMap(const QList<int> &numbers)
{
    int highest = -1;
    for (int n : numbers)
        highest = qMax(highest, n);
    QByteArray map((highest + 2) / 2, char(0xFF));
    for (int n : numbers) {
        if (n < 0)
            continue;
        const int byte = n / 2;
        // Present entries carry the number's low bits; only "not 0xF" matters.
        const quint8 entry = quint8(n % 0xF);
        quint8 value = quint8(map.at(byte));
        if (n % 2 == 0)
            value = quint8((value & 0x0F) | (entry << 4));
        else
            value = quint8((value & 0xF0) | entry);
        map[byte] = char(value);
    }
    return map;
}

QVariantList controllerAnswer(const ControllerState &state, int code, const QVariant &argument,
                              bool *error)
{
    if (error)
        *error = false;
    switch (code) {
    case 0x1101: // GET_REFER
        return {state.deviceName, state.serialNumber, state.description,
                controllerPositionText(state.position)};
    case 0x110a: // GET_DEVICE
        return {state.serialNumber, 0, state.firmware};
    case 0x110b: { // GET_CLIST
        const int list = argument.toInt();
        if (list == 16)
            return {16, presenceMap(state.phases)};
        if (list == 18)
            return {18, presenceMap(state.programs)};
        if (error)
            *error = true;
        return {list, QByteArray()};
    }
    case -1:
        if (error)
            *error = true;
        return {};
    default:
        return {code, QStringLiteral("ok")};
    }
}

} // namespace Arvel
