#pragma once

#include "tilemath.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

// A tile server template such as "https://host/{z}/{x}/{y}.png": an http or
// https URL in which {z}, {x} and {y} stand for the tile's zoom, column and
// row (counted from the north). A template with another placeholder, without
// one of the three, or of another scheme (a file: template would read local
// files, or wait for ever on a named pipe) is invalid and asks for nothing.
// The plug-in's map dialog marks typed templates by its own copy of this
// rule (TileServerTemplate, in the plug-in's map folder): keep the two alike.
class TileTemplate
{
    Q_DECLARE_TR_FUNCTIONS(TileTemplate)

public:
    TileTemplate() = default;
    explicit TileTemplate(const QString &text);

    // The rule for a typed template, for every place that checks one: why
    // `text`, taken without its outer spaces, is no usable template, as a
    // short phrase for the user ("no {y}", "not an http or https address");
    // empty when it is one, and for an empty text, which is no template at
    // all and asks for nothing.
    static QString problemOf(const QString &text) { return TileTemplate(text).problem(); }

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
