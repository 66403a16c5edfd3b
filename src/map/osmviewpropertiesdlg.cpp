#include "osmviewpropertiesdlg.h"

OsmViewPropertiesDlg::OsmViewPropertiesDlg(QWidget *parent, QSettings *settings, QObject *osmView)
    : QDialog(parent)
{
    Q_UNUSED(settings)
    Q_UNUSED(osmView)
}

OsmViewPropertiesDlg::~OsmViewPropertiesDlg() = default;
