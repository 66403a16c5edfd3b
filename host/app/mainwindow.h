#pragma once

#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QGraphicsScene;
class QLabel;
class QMenu;
class EditorBridge;
class OsmView;
class TrafficConsole;

namespace Arvel {
class CrossView;
class HostPython;
class Light;
class LightMarker;
class Project;
class TrafficSimulator;
} // namespace Arvel

// The reference host's main window: the project's controllers on the map,
// the traffic console and the phase preview, with menus and a tool bar that
// call every entry point of the editor plug-in.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(Arvel::Project *project, EditorBridge *editor, Arvel::HostPython *python,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    OsmView *mapView() const { return m_view; }
    QGraphicsScene *scene() const { return m_scene; }
    Arvel::Project *project() const;
    Arvel::CrossView *crossView() const { return m_crossView; }
    Arvel::Light *selectedLight() const;
    void selectLight(Arvel::Light *light);

    // Applies the project's zoom limits and shows its default preset (or
    // every controller when there is none).
    void applyMapSettings(bool showDefaultPreset);

public slots:
    // True when the file holds the project afterwards. A file that changed
    // on disk since the host read or saved it is overwritten only when the
    // user says so; the user may read it again instead, which drops the
    // unsaved changes. False when the user cancelled, or the project could
    // not be saved or read (the user was told why).
    bool saveProject();
    void editLight(Arvel::Light *light);
    void editSelectedLight();
    void editProject();
    void editUserSettings();
    void editSystemSettings();
    void editIniFile();
    // The settings editor on one INI file. On the project's own file it
    // edits the project as saved: unsaved changes are saved first (or the
    // editor is not opened), and a file the editor changed is read again
    // as the project.
    void openIniFile(const QString &fileName);
    void editMapProperties();
    void editPresets();
    void startAddingLight();
    void removeSelectedLight();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createDocks();
    void addMarker(Arvel::Light *light);
    void onObjectEdited(QObject *object);
    void onObjectAdded(QPointF point);
    void rebuildPresetMenu();
    void rebuildSourceMenu();
    void updateTitle();
    void updateActions();
    // Reads the project again from its file; false (the user was told why)
    // when the file holds no project.
    bool reloadProject(const QString &title);

    QPointer<Arvel::Project> m_project;
    EditorBridge *m_editor;
    Arvel::HostPython *m_python;
    QGraphicsScene *m_scene;
    OsmView *m_view;
    Arvel::CrossView *m_crossView = nullptr;
    TrafficConsole *m_console = nullptr;
    Arvel::TrafficSimulator *m_traffic = nullptr;
    QHash<Arvel::Light *, Arvel::LightMarker *> m_markers;
    // What saving kept of each light when the editor opened on it.
    QHash<Arvel::Light *, QByteArray> m_recordsBeforeEdit;
    QMenu *m_presetMenu = nullptr;
    QMenu *m_sourceMenu = nullptr;
    QLabel *m_pointerLabel = nullptr;
    QAction *m_addAction = nullptr;
    QAction *m_editAction = nullptr;
    QAction *m_removeAction = nullptr;
    QList<QAction *> m_pluginActions;
    bool m_adding = false;
    // While the editor is hidden to pick a position on the map, the map must
    // not open a second one, nor remove the controller under edit.
    bool m_editing = false;
};
