#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

namespace Ui {
class ProjectPropertiesDlg;
}

// Edits the host's project: its title, its controller server's address and
// the three console filters, held both in the host's Python and in the
// project. OK writes them (a filter Python could not give stays as it is)
// and marks the project changed; Cancel writes nothing. A server address
// that OK would not store is marked while it is typed.
class ProjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ProjectPropertiesDlg(QWidget *parent, QObject *project);
    ~ProjectPropertiesDlg() override;

    void accept() override;

private:
    void markServerUrl(const QString &text);
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
