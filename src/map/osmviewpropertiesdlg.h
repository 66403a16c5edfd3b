#pragma once

#include <QDialog>

class QSettings;

class OsmViewPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    OsmViewPropertiesDlg(QWidget *parent, QSettings *settings, QObject *osmView);
    ~OsmViewPropertiesDlg() override;
};
