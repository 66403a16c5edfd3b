#include "editorplugin.h"

#include "hostcontract.h"
#include "modaldialog.h"
#include "objectpropertiesdlg.h"
#include "osmviewpropertiesdlg.h"
#include "positionpicker.h"
#include "presetseditdlg.h"
#include "projectpropertiesdlg.h"
#include "pythoncall.h"
#include "settingseditdlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>

#include <utility>

namespace {

// The string-based form of the map view's mouseRelease(QPointF) signal.
const QByteArray MouseRelease = QByteArray::number(QSIGNAL_CODE) + Host::MapView::MouseRelease;

// Waits until `dialog` has a result of 0 or more. The wait also ends when the
// dialog or `watched` is destroyed, or when the application is told to quit
// (QCoreApplication::exit ends every event loop of the thread).
int waitForResult(const QPointer<QDialog> &dialog, const QPointer<QObject> &watched)
{
    QEventLoop loop;
    QObject::connect(dialog.data(), &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(dialog.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    QObject::connect(watched.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    while (dialog && watched && dialog->result() < 0) {
        if (loop.exec(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents) != 0)
            break; // quit or exit: leave without a result
    }
    if (!dialog || !watched)
        return -1;
    return dialog->result();
}

} // namespace

// Counts a dialog of an entry point as under way for the guard's life; an
// object dialog is also listed, and dropped once it is gone.
class EditorPlugin::RunningDialog
{
public:
    explicit RunningDialog(EditorPlugin *plugin, ObjectPropertiesDlg *objectDialog = nullptr)
        : m_plugin(plugin)
    {
        ++plugin->m_dialogsRunning;
        if (objectDialog)
            plugin->m_objectDialogs.append(objectDialog);
    }
    ~RunningDialog()
    {
        if (!m_plugin)
            return;
        --m_plugin->m_dialogsRunning;
        m_plugin->m_objectDialogs.removeAll(QPointer<ObjectPropertiesDlg>());
    }
    RunningDialog(const RunningDialog &) = delete;
    RunningDialog &operator=(const RunningDialog &) = delete;

private:
    QPointer<EditorPlugin> m_plugin;
};

// Runs a dialog modally and destroys it. A main window destroyed during
// exec() takes its child dialog along.
template<typename Dialog, typename... Args> void EditorPlugin::runDialog(Args &&...args)
{
    const RunningDialog running(this);
    ModalDialog<Dialog> dialog(std::forward<Args>(args)...);
    dialog.exec();
}

EditorPlugin::EditorPlugin() = default;

EditorPlugin::~EditorPlugin() = default;

QString EditorPlugin::moduleVersion() const
{
    return QStringLiteral(EDITOR2_VERSION);
}

QWidget *EditorPlugin::findMainWindow()
{
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (widget->inherits("QMainWindow"))
            return widget;
    }
    return nullptr;
}

void EditorPlugin::showError(const QString &text)
{
    const RunningDialog running(this);
    showCriticalBox(findMainWindow(), tr("Error"), text);
}

bool EditorPlugin::editObject(QObject *obj, bool emit_signal)
{
    if (!obj || !obj->inherits(Host::LightClass)) {
        showError(tr("Invalid light object"));
        return false;
    }

    QPointer<QObject> light(obj);
    auto *objectDialog = new ObjectPropertiesDlg(findMainWindow(), obj);
    QPointer<QDialog> dialog(objectDialog);
    const RunningDialog running(this, objectDialog);
    dialog->open();
    dialog->setResult(-1);

    const int result = waitForResult(dialog, light);
    const bool accepted = result == QDialog::Accepted && light;
    if (accepted && emit_signal)
        emit objectEdited(obj);
    delete dialog.data();
    return accepted;
}

void EditorPlugin::editProject(QObject *project)
{
    runDialog<ProjectPropertiesDlg>(findMainWindow(), project);
}

void EditorPlugin::editUserSettings()
{
    runDialog<SettingsEditDlg>(findMainWindow(), 0, QString());
}

void EditorPlugin::editSystemSettings()
{
    runDialog<SettingsEditDlg>(findMainWindow(), 1, QString());
}

void EditorPlugin::editIniFile(QString fileName)
{
    runDialog<SettingsEditDlg>(findMainWindow(), 0, fileName);
}

void EditorPlugin::editOsmProperies(QSettings *prj_settings, QObject *osmView)
{
    runDialog<OsmViewPropertiesDlg>(findMainWindow(), prj_settings, osmView);
}

void EditorPlugin::editPresets(QSettings *prj_settings, QGraphicsView *osmView)
{
    if (!prj_settings) {
        showError(tr("Project not created"));
        return;
    }
    runDialog<PresetsEditDlg>(findMainWindow(), prj_settings, osmView);
}

void EditorPlugin::concon_started() {}

void EditorPlugin::concon_finished(int) {}

// Placement mode: the next mouse release on the map view reports the point.

bool EditorPlugin::positionPicked() const
{
    for (const QPointer<ObjectPropertiesDlg> &dialog : m_objectDialogs) {
        const PositionPicker *picker = dialog ? dialog->findChild<PositionPicker *>() : nullptr;
        if (picker && picker->isPicking())
            return true;
    }
    return false;
}

void EditorPlugin::startAddMode(QGraphicsScene *scene, QCursor cur)
{
    // The next click on the map would end both the pick and the placement.
    if (positionPicked()) {
        qDebug("EditorPlugin - a position is picked: no placement");
        return;
    }
    if (!scene) {
        showError(tr("Invalid scene object"));
        return;
    }
    // A mode still running would otherwise leave its cursor and connection behind.
    endPlacement();

    m_placementView = nullptr;
    const QList<QGraphicsView *> views = scene->views();
    for (QGraphicsView *view : views) {
        if (!view->inherits(Host::MapViewClass))
            continue;
        if (!connect(view, MouseRelease.constData(), this, SLOT(osmViewMouseRelease(QPointF)),
                     Qt::QueuedConnection)) {
            showError(tr("Cannot connect to osmView"));
            return;
        }
        m_placementView = view;
        break;
    }

    m_placementScene = scene;
    scene->installEventFilter(this);
    QGuiApplication::setOverrideCursor(cur);
    m_placementActive = true;
}

void EditorPlugin::osmViewMouseRelease(QPointF point)
{
    if (!m_placementActive)
        return;
    endPlacement();
    emit objectAdded(point);
}

void EditorPlugin::endPlacement()
{
    if (!m_placementActive)
        return;
    m_placementActive = false;
    if (m_placementView)
        disconnect(m_placementView, MouseRelease.constData(), this,
                   SLOT(osmViewMouseRelease(QPointF)));
    if (m_placementScene)
        m_placementScene->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
}

// Close handler: the host's Python decides whether the main window may close.

void EditorPlugin::initCloseHandler()
{
    if (QWidget *mainWindow = findMainWindow())
        mainWindow->installEventFilter(this);
    PythonCall::adoptInterpreter();
}

// With no interpreter at all there is nobody to ask, and a main window that
// could never close would be worse than a close without the Python hook.
// Python's error indicator is never left set: the host's next Python call
// would fail for no fault of its own.
bool EditorPlugin::askPythonToClose()
{
    const PythonCall::MainModule main;
    if (main.isNull())
        return true;
    // A failed import bound nothing: there is nothing to call or remove.
    if (!main.run(QLatin1String(Host::Python::ImportCloseProject)))
        return false;
    const QString name = QLatin1String(Host::Python::CloseProject);
    const QVariant result = main.call(name);
    // closeProject may have removed itself.
    main.unbind(name);
    return result.toBool();
}

bool EditorPlugin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched && watched == m_placementScene) {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            endPlacement();
        return QObject::eventFilter(watched, event);
    }

    if (event->type() != QEvent::Close)
        return QObject::eventFilter(watched, event);

    // The window would take an edit under way along; the user is shown the
    // object dialog again rather than a map that waits for a click.
    if (m_dialogsRunning > 0) {
        const QList<QPointer<ObjectPropertiesDlg>> dialogs = m_objectDialogs;
        for (const QPointer<ObjectPropertiesDlg> &dialog : dialogs) {
            if (PositionPicker *picker = dialog ? dialog->findChild<PositionPicker *>() : nullptr)
                picker->stop();
        }
        event->ignore();
        return true;
    }
    if (!askPythonToClose()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
