#pragma once

#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringMatcher>

class QTreeWidget;
class QTreeWidgetItem;

// The settings editor's filter: shows only the keys whose name or value holds
// a text (in any case) with the sections that lead to them, and the sections
// whose name holds it with all they hold, expanded. Whatever is added while
// it filters is shown, with the sections that lead to it. An empty text shows
// the whole tree again, each section expanded or collapsed as before.
class SettingsFilter : public QObject
{
    Q_OBJECT

public:
    // Tells a section item from a key item.
    using SectionTest = bool (*)(const QTreeWidgetItem *);

    // A child of the tree.
    SettingsFilter(QTreeWidget *tree, SectionTest isSection);

    void setText(const QString &text);

private:
    bool filter(QTreeWidgetItem *item, bool shownWhole);
    void showAll(QTreeWidgetItem *item);
    void saveExpansion(const QModelIndex &parent);
    void reveal(const QModelIndex &parent);

    QTreeWidget *m_tree;
    SectionTest m_isSection;
    QString m_text;
    QStringMatcher m_matcher;
    // The sections expanded before filtering; a removed one drops out.
    QList<QPersistentModelIndex> m_expanded;
};
