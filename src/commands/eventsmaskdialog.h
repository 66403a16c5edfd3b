#pragma once

#include "commandsui.h"

#include <QDialog>

#include <memory>

namespace Ui {
class EventsMaskDialog;
}

// Edits a controller's events mask, box n for bit n: mask() is the value
// given until the dialog is accepted, and the edited one after, with the bits
// no box stands for (16 to 31) unchanged.
class EventsMaskDialog : public QDialog, public CommandsUi
{
    Q_OBJECT

public:
    EventsMaskDialog(QWidget *parent, quint32 mask);
    ~EventsMaskDialog() override;

    void accept() override;

    quint32 mask() const { return m_mask; }

private slots:
    void on_clearAll_clicked();
    void on_selectAll_clicked();
    void on_invertAll_clicked();

private:
    std::unique_ptr<Ui::EventsMaskDialog> ui;
    quint32 m_mask;
};
