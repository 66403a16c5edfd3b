#pragma once

#include <QDialog>
#include <QString>

class SettingsEditDlg : public QDialog
{
    Q_OBJECT

public:
    SettingsEditDlg(QWidget *parent, int scope, const QString &fileName);
    ~SettingsEditDlg() override;
};
