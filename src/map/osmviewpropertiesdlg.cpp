#include "osmviewpropertiesdlg.h"
#include "ui_osmviewpropertiesdlg.h"

OsmViewPropertiesDlg::OsmViewPropertiesDlg(QWidget *parent, QSettings *settings, QObject *osmView)
    : QDialog(parent)
    , ui(new Ui::OsmViewPropertiesDlg)
    , m_settings(settings)
    , m_osmView(osmView)
{
    ui->setupUi(this);
}

OsmViewPropertiesDlg::~OsmViewPropertiesDlg()
{
    delete ui;
}

void OsmViewPropertiesDlg::accept()
{
    QDialog::accept();
}

// Appends an empty map source.
void OsmViewPropertiesDlg::on_addMap_clicked()
{
}

// Removes every map source that has a selected cell.
void OsmViewPropertiesDlg::on_removeMap_clicked()
{
}
