#include "objectpropertiesdlg.h"

ObjectPropertiesDlg::ObjectPropertiesDlg(QWidget *parent, QObject *light)
    : QDialog(parent)
{
    Q_UNUSED(light)
}

ObjectPropertiesDlg::~ObjectPropertiesDlg() = default;
