#include "tiletemplate.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QLatin1String Known[] = {QLatin1String("{z}"), QLatin1String("{x}"), QLatin1String("{y}")};

} // namespace

TileTemplate::TileTemplate(const QString &text)
    : m_text(text.trimmed())
{
    if (m_text.isEmpty())
        return;
    static const QRegularExpression placeholder(QStringLiteral("\\{[^{}]*\\}"));
    auto it = placeholder.globalMatch(m_text);
    while (it.hasNext()) {
        const QString found = it.next().captured();
        if (!std::count(std::begin(Known), std::end(Known), found) && !m_unknown.contains(found))
            m_unknown.append(found);
    }
    QStringList missing;
    for (const QLatin1String &known : Known) {
        if (!m_text.contains(known))
            missing.append(known);
    }
    const QString scheme = QUrl(m_text).scheme().toLower();
    if (!m_unknown.isEmpty())
        m_problem = tr("unknown placeholders %1").arg(m_unknown.join(QLatin1Char(' ')));
    else if (!missing.isEmpty())
        m_problem = tr("no %1").arg(missing.join(QLatin1Char(' ')));
    else if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        m_problem = tr("not an http or https address");
}

QUrl TileTemplate::url(const TileMath::TileId &tile) const
{
    if (!isValid())
        return QUrl();
    QString text = m_text;
    text.replace(Known[0], QString::number(tile.zoom))
        .replace(Known[1], QString::number(tile.x))
        .replace(Known[2], QString::number(tile.y));
    return QUrl(text);
}
