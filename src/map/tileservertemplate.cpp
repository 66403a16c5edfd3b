#include "tileservertemplate.h"

#include <QRegularExpression>
#include <QUrl>

namespace TileServerTemplate {

bool isAcceptable(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return true;
    const QString known[] = {QStringLiteral("{z}"), QStringLiteral("{x}"), QStringLiteral("{y}")};
    static const QRegularExpression placeholder(QStringLiteral("\\{[^{}]*\\}"));
    auto it = placeholder.globalMatch(trimmed);
    while (it.hasNext()) {
        const QString found = it.next().captured();
        if (found != known[0] && found != known[1] && found != known[2])
            return false;
    }
    for (const QString &needed : known) {
        if (!trimmed.contains(needed))
            return false;
    }
    const QString scheme = QUrl(trimmed).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace TileServerTemplate
