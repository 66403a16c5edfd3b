#pragma once

#include <QDialog>
#include <QString>

class ProjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ProjectPropertiesDlg(QWidget *parent, QObject *project);
    ~ProjectPropertiesDlg() override;
};
