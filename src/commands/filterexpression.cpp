#include "filterexpression.h"

#include <QRegularExpression>

namespace FilterExpression {

namespace {

int index(Kind kind)
{
    switch (kind) {
    case Kind::Request:
        return 0;
    case Kind::Response:
        return 1;
    case Kind::Notification:
        break;
    }
    return 2;
}

const QRegularExpression &recognisedForm(Kind kind)
{
    // The subjects are used unescaped on purpose: this is the form the host's
    // stored filters have always been matched with.
    static const QRegularExpression forms[] = {
        QRegularExpression(
            QRegularExpression::anchoredPattern(QStringLiteral("request.command in \\(.+\\)"))),
        QRegularExpression(QRegularExpression::anchoredPattern(
            QStringLiteral("resp.request.command in \\(.+\\)"))),
        QRegularExpression(
            QRegularExpression::anchoredPattern(QStringLiteral("notify.id in \\(.+\\)"))),
    };
    return forms[index(kind)];
}

} // namespace

QString subject(Kind kind)
{
    static const char *const subjects[] = {"request.command", "resp.request.command", "notify.id"};
    return QLatin1String(subjects[index(kind)]);
}

QString prefix(Kind kind)
{
    return subject(kind) + QLatin1String(" in (");
}

QString nothing()
{
    return QStringLiteral("0");
}

Reading read(Kind kind, const QString &expression)
{
    Reading reading;
    reading.text = expression.simplified();
    reading.recognised = recognisedForm(kind).match(reading.text).hasMatch();
    reading.pattern = reading.text;
    reading.pattern.replace(subject(kind), QLatin1String("%1"));
    if (kind == Kind::Response)
        reading.pattern.replace(QLatin1String("resp.error"), QLatin1String("False"));
    return reading;
}

bool needsEvaluation(const QString &pattern)
{
    return pattern.contains(QLatin1Char('%'));
}

QString testFor(const QString &pattern, int code)
{
    return QString(pattern).replace(QLatin1String("%1"), QString::number(code));
}

QString codeItem(int code)
{
    return QLatin1String("0x") + QString::number(code, 16) + QLatin1Char(',');
}

QString build(Kind kind, bool custom, const QString &customText, const QString &codeList)
{
    if (custom)
        return customText;
    if (codeList.isEmpty())
        return nothing();
    return prefix(kind) + codeList + QLatin1Char(')');
}

} // namespace FilterExpression
