#include "projectpropertiesdlg.h"

ProjectPropertiesDlg::ProjectPropertiesDlg(QWidget *parent, QObject *project)
    : QDialog(parent)
{
    Q_UNUSED(project)
}

ProjectPropertiesDlg::~ProjectPropertiesDlg() = default;
