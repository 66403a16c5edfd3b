#pragma once

#include <QDialog>
#include <QVariantMap>

#include <memory>

class QPoint;

namespace Ui {
class CustomPropsEditDlg;
}

// Edits a controller object's custom properties as a table of name, value
// and description; properties() gives each named row as the list (value,
// description) of its texts, except that a value without a faithful text
// form comes back as it came while its cell is unedited, and a malformed
// entry while its row is.
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
    void forgetEditedValues(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                            const QVector<int> &roles);

    std::unique_ptr<Ui::CustomPropsEditDlg> ui;
};
