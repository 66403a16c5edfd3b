#pragma once

#include "tilemath.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

// A tile server template such as "https://host/{z}/{x}/{y}.png": an http,
// https or file URL in which {z}, {x} and {y} stand for the tile's zoom,
// column and row (counted from the north). A template with another
// placeholder, or without one of the three, is invalid and asks for nothing.
class TileTemplate
{
    Q_DECLARE_TR_FUNCTIONS(TileTemplate)

public:
    TileTemplate() = default;
    explicit TileTemplate(const QString &text);

    QString text() const { return m_text; }
    bool isEmpty() const { return m_text.trimmed().isEmpty(); }
    bool isValid() const { return m_problem.isEmpty() && !isEmpty(); }
    // Why the template is invalid, for the user; empty when valid.
    QString problem() const { return m_problem; }
    // The placeholders other than {z}, {x} and {y}, as written.
    QStringList unknownPlaceholders() const { return m_unknown; }

    // The tile's address; empty for an invalid template.
    QUrl url(const TileMath::TileId &tile) const;

private:
    QString m_text;
    QString m_problem;
    QStringList m_unknown;
};
