#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QSettings;

namespace Ui {
class OsmViewPropertiesDlg;
}

// Edits the open project's map settings, the zoom limits and the map sources;
// only OK writes them, the sources as typed, and pushes the zoom limits into
// the live map view. The table marks a source without a name and a tile server
// template the map cannot ask tiles from. If the host deletes the settings
// object meanwhile, the dialog closes unwritten.
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

    std::unique_ptr<Ui::OsmViewPropertiesDlg> ui;
    QPointer<QSettings> m_settings;
    QPointer<QObject> m_osmView;
};
