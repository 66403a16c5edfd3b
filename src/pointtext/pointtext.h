#pragma once

#include <QPointF>
#include <QString>

class QVariant;

// The text form of a map point as the dialogs show and read it: x (the
// longitude) and y joined by ";", each number in the 'g' format with the
// form's significant digits. Only two finite numbers make a point, so what is
// read can always be shown and read again to the same text.
class PointText
{
public:
    // What reading does with an empty part, as in ";10;20" or "10;;20".
    enum class EmptyParts { Skipped, Counted };

    constexpr PointText(int digits, EmptyParts emptyParts)
        : m_digits(digits)
        , m_emptyParts(emptyParts)
    {
    }

    QString format(const QPointF &point) const;

    // Splits at ";"; exactly two parts that are finite numbers in C-locale
    // form (spaces around them allowed) make a point. Anything else leaves
    // *point alone and returns false.
    bool parse(const QString &text, QPointF *point) const;

    // A point stored as two numbers: each its number, or 0 when it is absent,
    // not a number or not finite.
    static QPointF fromStored(const QVariant &x, const QVariant &y);

    // The object dialog's position: 12 digits; empty parts are skipped.
    static const PointText position;
    // A map preset's centre: 6 digits; every part counts, so "1;2;" has three.
    static const PointText centre;

private:
    int m_digits;
    EmptyParts m_emptyParts;
};
