#pragma once

#include "objectrecord.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class ControllerExchange;
class PositionPicker;
class QTableWidgetItem;

namespace Ui {
class ObjectPropertiesDlg;
}

// Edits one controller object of the host: nothing reaches it before OK,
// which checks the identifier and writes every field back in a fixed order.
// If the host deletes the object meanwhile, the dialog closes as rejected.
class ObjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ObjectPropertiesDlg(QWidget *parent, QObject *light);
    ~ObjectPropertiesDlg() override;

    void accept() override;

private slots:
    void on_selSchema_clicked();
    void on_addPhase_clicked();
    void on_removePhase_clicked();
    void on_addProg_clicked();
    void on_removeProg_clicked();
    void on_importFromFolder_clicked();
    void on_phasesTable_cellActivated(int row, int column);
    void on_changeEventsMask_clicked();
    void on_fromController_clicked();
    void getRefer();
    void getPhases();
    void getPrograms();
    void getCpu();
    void clearControllerExchangeQueue();
    void on_selectPos_clicked();
    void on_additionalProps_clicked();

private:
    Q_INVOKABLE void stopPositionEdit();
    void chooseRowSchema();
    void chooseSchema(QTableWidgetItem *cell);

    std::unique_ptr<Ui::ObjectPropertiesDlg> ui;
    QPointer<QObject> m_light;
    QPointer<QObject> m_project;
    QPointer<QObject> m_crossView;
    QString m_baseDir;
    // The identifier as the object held it at load, before the field clamped it.
    int m_loadedId = 0;
    // The events mask and the custom properties edited in their editors,
    // until OK writes them.
    ObjectRecord m_pending;
    ControllerExchange *m_exchange;
    PositionPicker *m_picker;
};
