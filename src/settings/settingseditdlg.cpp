#include "settingseditdlg.h"

SettingsEditDlg::SettingsEditDlg(QWidget *parent, int scope, const QString &fileName)
    : QDialog(parent)
{
    Q_UNUSED(scope)
    Q_UNUSED(fileName)
}

SettingsEditDlg::~SettingsEditDlg() = default;
