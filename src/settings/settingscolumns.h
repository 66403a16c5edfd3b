#pragma once

#include <QObject>

class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;

// Sizes the settings editor's Section and Key columns to their longest texts,
// those of collapsed sections too, within the tree's width, and leaves the
// rest to Value; they follow the tree when it is resized and grow with what
// is added or typed, until the user sizes one of them by hand.
class SettingsColumns : public QObject
{
    Q_OBJECT

public:
    // Tells a section item from a key item.
    using SectionTest = bool (*)(const QTreeWidgetItem *);

    // A child of the tree.
    SettingsColumns(QTreeWidget *tree, SectionTest isSection);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Column 0 for a section, column 1 for a key: the one its text is in.
    int textColumn(QTreeWidgetItem *item) const;
    int widthOf(QTreeWidgetItem *item) const;
    void measureAll();
    void grow(QTreeWidgetItem *item);
    void fit();

    QTreeWidget *m_tree;
    SectionTest m_isSection;
    // The widths the Section and Key columns want.
    int m_wanted[2] = {0, 0};
    bool m_fitting = false;
    bool m_sizedByHand = false;
};
