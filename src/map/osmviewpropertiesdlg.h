#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QSettings;

namespace HostCall {
class Property;
}

namespace Ui {
class OsmViewPropertiesDlg;
}

// Edits the map settings of the open project: the zoom limits and the list of
// map sources. The settings are read when the dialog is built; only OK writes
// them back and pushes the zoom limits into the live map view. Neither the
// settings object nor the view is owned, and either may be null; when the
// host deletes the settings object meanwhile the dialog closes unwritten.
class OsmViewPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    OsmViewPropertiesDlg(QWidget *parent, QSettings *settings, QObject *osmView);
    ~OsmViewPropertiesDlg() override;

    void accept() override;

private slots:
    void on_addMap_clicked();
    void on_removeMap_clicked();

private:
    void load();
    void pushZoomLimit(const HostCall::Property &property, int value);

    std::unique_ptr<Ui::OsmViewPropertiesDlg> ui;
    QPointer<QSettings> m_settings;
    QPointer<QObject> m_osmView;
};
