#pragma once

#include <QDialog>
#include <QString>

class ObjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ObjectPropertiesDlg(QWidget *parent, QObject *light);
    ~ObjectPropertiesDlg() override;
};
