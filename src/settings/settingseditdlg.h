#pragma once

#include <QDialog>
#include <QString>

class QSettings;

namespace Ui {
class SettingsEditDlg;
}

// Shows one INI settings file (a named file, or the application's own settings
// of the user or system scope) as a tree of sections and key/value items. The
// file is read once when the dialog is built; only OK writes the tree back.
class SettingsEditDlg : public QDialog
{
    Q_OBJECT

public:
    // `scope` is a QSettings::Scope value (0 user, 1 system); it is used only
    // when `fileName` is empty.
    SettingsEditDlg(QWidget *parent, int scope, const QString &fileName);
    ~SettingsEditDlg() override;

    void accept() override;

private slots:
    void on_add_clicked();
    void on_addSection_clicked();
    void on_addSubsection_clicked();
    void on_remove_clicked();

private:
    Ui::SettingsEditDlg *ui;
    QSettings *m_settings;
};
