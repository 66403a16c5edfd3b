#pragma once

#include <QDialog>
#include <QVariantMap>

#include <memory>

class QPoint;

namespace Ui {
class CustomPropsEditDlg;
}

// Edits a controller object's custom properties as a table of name, value
// and description, one row per property in name order; Insert and the
// context menu's "Add" append a row, Delete and "Remove" remove the rows of
// the selected cells. properties() reads the table back: each row with a name
// gives the list (value, description) as texts, a later row replacing an
// earlier one of the same name. A value whose text would not stand for it (a
// list, a map) is handed back as it came as long as its cell was not edited;
// an entry that is no (value, description) list, shown by its name alone, as
// long as no cell of its row was edited.
class CustomPropsEditDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CustomPropsEditDlg(QVariantMap properties, QWidget *parent = nullptr);
    ~CustomPropsEditDlg() override;

    QVariantMap properties() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void addProperty();
    void removeProperty();
    void on_propsTable_customContextMenuRequested(const QPoint &pos);

private:
    QList<int> selectedRows() const;
    void forgetEditedValues(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                            const QVector<int> &roles);

    std::unique_ptr<Ui::CustomPropsEditDlg> ui;
};
