#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

class QGraphicsScene;

namespace Ui {
class ObjectPropertiesDlg;
}

// Edits one controller object of the host: identifier, type, description,
// position, schema drawings, phases, programs, events mask and custom
// properties. Nothing reaches the object before OK; OK checks the identifier,
// writes every field back in a fixed order and closes the dialog as accepted.
// If the host deletes the object while the dialog is open, the dialog closes
// as rejected and touches the object no more. Choosing drawings, reading from
// the controller and picking the position on the map only fill the fields. An
// exchange with the controller is over once every awaited answer came or its
// response was deleted by the host, or the user cancelled it; a pick ends on a
// plain left click or Escape on the map, or at once when the map or the dialog
// goes.
class ObjectPropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    ObjectPropertiesDlg(QWidget *parent, QObject *light);
    ~ObjectPropertiesDlg() override;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void accept() override;

    // Whether the dialog is hidden while a position is picked on the map.
    bool isPickingPosition() const { return positionEditing; }
    // Ends a pick under way, the position field as it stands, and shows the
    // dialog again.
    void cancelPositionPick();

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

    // Schema paths as shown (relative to baseDir) and as stored (absolute).
    QString toRelativePath(const QString &path) const;
    QString toAbsolutePath(const QString &path) const;
    void loadTables();
    void writePhases();
    void writePrograms();
    void writeEventMask();
    void writeCustomProperties();
    void showError(const QString &text);
    // The controller exchange: a command sent through the object, its answer
    // taken when it finishes (false once the dialog is gone), the queue
    // checked for its end.
    bool sendCommand(const QVariant &command, const QVariant &argument, const char *handler);
    bool takeAnswer(const char *handler, QVariantList *data);
    bool setExchangeProgress(int value);
    void dropDeletedResponses();
    void closeExchangeIfDone();
    void schedulePositionStop();
    void abandonPositionEdit();
    void endPositionEdit(bool showAgain);

    Ui::ObjectPropertiesDlg *ui;
    QPointer<QObject> light;
    QPointer<QObject> project;
    QPointer<QObject> crossView;
    QString baseDir;
    bool isNew = false;
    quint32 eventMask = 0;
    bool eventMaskChanged = false;
    // A child, deleted with the dialog unless the dialog goes from within its
    // setValue().
    QProgressDialog *exchangeProgress;
    int exchangeProgressSetting = 0;
    // Responses are the host's; guarded so that one the host drops early is
    // never touched.
    QList<QPointer<QObject>> controllerExchangeQueue;
    QVariantMap customProperties;
    bool customPropertiesChanged = false;
    // The identifier as the object held it at load, before the field clamped it.
    int loadedId = 0;
    // The scene watched while the position is picked on the map.
    bool positionEditing = false;
    QPointer<QGraphicsScene> positionScene;
    QTimer positionStopTimer;

    friend class tst_ObjectPropertiesDlg;
    friend class tst_ObjectExchange;
};
