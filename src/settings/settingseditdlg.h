#pragma once

#include "inidocument.h"
#include "settingstree.h"

#include <QDialog>
#include <QString>

class QSettings;

namespace Ui {
class SettingsEditDlg;
}

// Shows one INI settings file (a named file, or the application's own settings
// file of the user or system scope) as a tree of sections and key/value items.
// The file is read once when the dialog is built; only OK writes it, and only
// when the tree differs from what was read: values left as they were shown
// keep their type, edited and added values are stored as text. A file that
// could not be read cleanly, or a write that fails, is reported with the
// file's name and the dialog stays open; the file on disk is then unchanged.
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
    void fitColumns();
    void showError(const QString &text);

    Ui::SettingsEditDlg *ui;
    QSettings *m_settings;
    // The file's lines and the tree, as read.
    IniDocument m_document;
    SettingsNodes m_readNodes;
    bool m_readCleanly = false;
};
