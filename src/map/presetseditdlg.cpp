#include "presetseditdlg.h"
#include "ui_presetseditdlg.h"

PresetsEditDlg::PresetsEditDlg(QWidget *parent, QSettings *settings, QGraphicsView *osmView)
    : QDialog(parent)
    , ui(new Ui::PresetsEditDlg)
    , m_settings(settings)
    , m_osmView(osmView)
{
    ui->setupUi(this);
}

PresetsEditDlg::~PresetsEditDlg()
{
    delete ui;
}

void PresetsEditDlg::accept()
{
    QDialog::accept();
}

// Removes every preset that has a selected cell, with its default-list entry.
void PresetsEditDlg::on_remove_clicked()
{
}

// Appends a preset for the map view's visible centre and zoom.
void PresetsEditDlg::on_addCurrent_clicked()
{
}

// Appends a preset with no zoom and no centre.
void PresetsEditDlg::on_addCustom_clicked()
{
}

// Keeps the default-preset list in step with the names in column 0.
void PresetsEditDlg::on_presets_itemChanged(QTableWidgetItem *item)
{
    Q_UNUSED(item)
}
