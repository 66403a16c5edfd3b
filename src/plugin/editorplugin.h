#pragma once

#include <QCursor>
#include <QGraphicsScene>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>

class ObjectPropertiesDlg;
class QGraphicsView;
class QSettings;
class QWidget;

// The plug-in's one root object, driven by the host only by name. Each entry
// point runs its dialog modally over the main window; meanwhile the window's
// close is refused, and no placement mode starts during a position pick.
class EditorPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.arvel.editor2.EditorPlugin")
    Q_PROPERTY(QString moduleVersion READ moduleVersion)

public:
    EditorPlugin();
    ~EditorPlugin() override;

    QString moduleVersion() const;

    bool eventFilter(QObject *watched, QEvent *event) override;

    // The first top-level widget that inherits QMainWindow, or null.
    static QWidget *findMainWindow();
    // A critical message box titled "Error" over the main window.
    void showError(const QString &text);

signals:
    void objectAdded(QPointF point);
    void objectEdited(QObject *obj);

private slots:
    void osmViewMouseRelease(QPointF point);
    void concon_started();
    void concon_finished(int);

public:
    Q_INVOKABLE bool editObject(QObject *obj, bool emit_signal = true);
    Q_INVOKABLE void startAddMode(QGraphicsScene *scene, QCursor cur);
    Q_INVOKABLE void editProject(QObject *project);
    Q_INVOKABLE void editUserSettings();
    Q_INVOKABLE void editSystemSettings();
    Q_INVOKABLE void editIniFile(QString fileName);
    Q_INVOKABLE void editOsmProperies(QSettings *prj_settings, QObject *osmView);
    Q_INVOKABLE void editPresets(QSettings *prj_settings, QGraphicsView *osmView);
    Q_INVOKABLE void initCloseHandler();

private:
    class RunningDialog;

    template<typename Dialog, typename... Args> void runDialog(Args &&...args);
    bool positionPicked() const;
    void endPlacement();
    bool askPythonToClose();

    // Guarded: a scene or view that the host deletes is never touched, and a
    // later object at the same address is never mistaken for it.
    QPointer<QGraphicsScene> m_placementScene;
    QPointer<QObject> m_placementView;
    // A queued release that arrives after the mode has ended (a quick double
    // click) must neither report a second point nor pop the cursor again.
    bool m_placementActive = false;
    // Dialogs of the entry points under way, and among them the object dialogs.
    int m_dialogsRunning = 0;
    QList<QPointer<ObjectPropertiesDlg>> m_objectDialogs;
};
