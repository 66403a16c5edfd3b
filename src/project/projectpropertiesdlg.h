#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

namespace Ui {
class ProjectPropertiesDlg;
}

// Edits the host's project: its title, the address of its controller server
// and the three console output filters, which live both in the host's Python
// (as attributes of arvel.av_module) and in the project's properties.
//
// OK writes the title, the server address when its text was edited (and names
// a host), and each filter that could be read from Python when the dialog
// opened; a filter that could not be read is left as it is in both places.
// The project is then marked changed. Cancel writes nothing.
class ProjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ProjectPropertiesDlg(QWidget *parent, QObject *project);
    ~ProjectPropertiesDlg() override;

    void accept() override;

private:
    void readFilters();
    void writeFilters();

    std::unique_ptr<Ui::ProjectPropertiesDlg> ui;
    // Guarded: the host may delete either while the dialog is open.
    QPointer<QObject> m_project;
    QPointer<QObject> m_connection;
    QString m_shownServerUrl;
    // Per filter (request, answer, notification): whether it was read.
    std::array<bool, 3> m_filterRead{};
};
