#pragma once

#include "inidocument.h"
#include "settingstree.h"

#include <QDialog>
#include <QString>

#include <memory>

class QSettings;

namespace Ui {
class SettingsEditDlg;
}

// Shows one INI settings file as a tree of sections and key/value items; OK
// saves what was edited, changing only the lines of the edits. A file that
// cannot be saved says why above the tree as it opens; OK on it, or a save
// that fails, is reported naming the file, and the file stays as it was.
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
    void setUpFilterAndColumns();
    void showError(const QString &text);

    std::unique_ptr<Ui::SettingsEditDlg> ui;
    std::unique_ptr<QSettings> m_settings;
    // The file's lines and the tree, as read.
    IniDocument m_document;
    SettingsNodes m_readNodes;
    SettingsTree::ReadFault m_readFault;
};
