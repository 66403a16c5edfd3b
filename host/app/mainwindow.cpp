#include "mainwindow.h"

#include "closequestion.h"
#include "controlleranswersmenu.h"
#include "coordinatetext.h"
#include "crossview.h"
#include "editorbridge.h"
#include "hostpython.h"
#include "hostsettings.h"
#include "light.h"
#include "lightmarker.h"
#include "osmview.h"
#include "project.h"
#include "projectstore.h"
#include "trafficconsole.h"
#include "trafficsimulator.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QtNumeric>

using namespace Arvel;

namespace {

const char AddCursorResource[] = ":/resources/add_object_cursor.png";
const char AddIconResource[] = ":/resources/add_object.png";

QByteArray fileContents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Keeps an action disabled while it lives, then gives it back its state.
class ActionDisabled
{
public:
    explicit ActionDisabled(QAction *action)
        : m_action(action)
        , m_wasEnabled(action->isEnabled())
    {
        action->setEnabled(false);
    }
    ~ActionDisabled()
    {
        if (m_action)
            m_action->setEnabled(m_wasEnabled);
    }

private:
    QPointer<QAction> m_action;
    bool m_wasEnabled;
};

} // namespace

MainWindow::MainWindow(Project *project, EditorBridge *editor, HostPython *python, QWidget *parent)
    : QMainWindow(parent)
    , m_project(project)
    , m_editor(editor)
    , m_python(python)
    , m_scene(new QGraphicsScene(this))
    , m_view(new OsmView(m_scene, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setCentralWidget(m_view);
    createDocks();
    createActions();

    for (Light *light : project->lights())
        addMarker(light);
    connect(project, &Project::lightAdded, this, &MainWindow::addMarker);
    connect(project, &Project::lightRemoved, this,
            [this](Light *light) { delete m_markers.take(light); });
    connect(project, &Project::titleChanged, this, &MainWindow::updateTitle);
    connect(project, &Project::changedChanged, this, &MainWindow::updateTitle);

    connect(m_view, &OsmView::lightActivated, this, &MainWindow::editLight);
    connect(m_view, &OsmView::pointerMoved, this, [this](QPointF point) {
        m_pointerLabel->setText(tr("lon;lat %1").arg(CoordinateText::point(point)));
    });
    connect(m_view, &OsmView::sourceProblem, this,
            [this](const QString &message) { statusBar()->showMessage(message, 15000); });
    connect(m_scene, &QGraphicsScene::selectionChanged, this, &MainWindow::updateActions);
    m_scene->installEventFilter(this);
    connect(m_editor, &EditorBridge::editingObject, this, [this](QObject *object) {
        if (auto *light = qobject_cast<Light *>(object); light && m_project)
            m_recordsBeforeEdit.insert(light,
                                       ProjectStore::lightRecord(light, m_project->baseDir()));
    });
    connect(m_editor, &EditorBridge::pickingPosition, this, [this](bool picking) {
        const QString hint = tr("Click the controller's position on the map; Escape cancels");
        if (picking) {
            // Escape reaches the plug-in through the scene, so the map needs the keys.
            m_view->setFocus();
            statusBar()->showMessage(hint);
        } else if (statusBar()->currentMessage() == hint) {
            statusBar()->clearMessage();
        }
    });
    connect(m_editor, &EditorBridge::objectEdited, this, &MainWindow::onObjectEdited);
    connect(m_editor, &EditorBridge::objectAdded, this, &MainWindow::onObjectAdded);

    m_pointerLabel = new QLabel(this);
    m_pointerLabel->setToolTip(tr(
        "The pointer's place: longitude;latitude, as the object dialog's Position field takes it"));
    statusBar()->addPermanentWidget(m_pointerLabel);
    auto *version = new QLabel(this);
    version->setText(m_editor->isLoaded() ? tr("editor2 %1").arg(m_editor->moduleVersion())
                                          : tr("editor2 not loaded"));
    if (!m_editor->isLoaded())
        version->setToolTip(m_editor->errorString());
    statusBar()->addPermanentWidget(version);

    m_traffic = new TrafficSimulator(this);
    m_traffic->setProject(project);
    connect(m_traffic, &TrafficSimulator::message, m_console, &TrafficConsole::showMessage);
    m_traffic->start(HostSettings::consoleIntervalMs());

    resize(1200, 800);
    restoreGeometry(HostSettings::windowGeometry());
    if (!restoreState(HostSettings::windowState())) {
        // The map gets most of the room on a first start.
        auto *consoleDock = findChild<QDockWidget *>(QStringLiteral("trafficConsoleDock"));
        auto *previewDock = findChild<QDockWidget *>(QStringLiteral("phasePreviewDock"));
        resizeDocks({consoleDock}, {200}, Qt::Vertical);
        resizeDocks({previewDock}, {230}, Qt::Horizontal);
    }

    updateTitle();
    updateActions();
    applyMapSettings(true);
}

MainWindow::~MainWindow()
{
    // The scene and the map go with the window's children, after this body:
    // what they signal then (removing a selected marker changes the
    // selection) must not reach a window that is no longer whole.
    disconnect(m_scene, nullptr, this, nullptr);
    disconnect(m_view, nullptr, this, nullptr);
}

Project *MainWindow::project() const
{
    return m_project.data();
}

void MainWindow::createDocks()
{
    auto *previewDock = new QDockWidget(tr("Phase preview"), this);
    previewDock->setObjectName(QStringLiteral("phasePreviewDock"));
    m_crossView = new CrossView(previewDock);
    previewDock->setWidget(m_crossView);
    addDockWidget(Qt::RightDockWidgetArea, previewDock);

    auto *consoleDock = new QDockWidget(tr("Traffic console"), this);
    consoleDock->setObjectName(QStringLiteral("trafficConsoleDock"));
    m_console = new TrafficConsole(m_python, m_project, consoleDock);
    consoleDock->setWidget(m_console);
    addDockWidget(Qt::BottomDockWidgetArea, consoleDock);
    connect(m_python, &HostPython::output, m_console, &TrafficConsole::showPythonOutput);
}

void MainWindow::createActions()
{
    QStyle *style = this->style();
    const bool loaded = m_editor->isLoaded();
    auto pluginAction = [this, loaded](QAction *action) {
        action->setEnabled(loaded);
        m_pluginActions.append(action);
        return action;
    };

    QMenu *projectMenu = menuBar()->addMenu(tr("&Project"));
    QAction *save = projectMenu->addAction(style->standardIcon(QStyle::SP_DialogSaveButton),
                                           tr("&Save"), this, &MainWindow::saveProject);
    save->setShortcut(QKeySequence::Save);
    projectMenu->addSeparator();
    QAction *projectProps = pluginAction(
        projectMenu->addAction(style->standardIcon(QStyle::SP_FileDialogDetailedView),
                               tr("Project &properties..."), this, &MainWindow::editProject));
    QAction *mapProps = pluginAction(
        projectMenu->addAction(style->standardIcon(QStyle::SP_DesktopIcon),
                               tr("&Map properties..."), this, &MainWindow::editMapProperties));
    QAction *presets =
        pluginAction(projectMenu->addAction(style->standardIcon(QStyle::SP_DirHomeIcon),
                                            tr("Pre&sets..."), this, &MainWindow::editPresets));
    projectMenu->addSeparator();
    QAction *quit = projectMenu->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    QMenu *lightMenu = menuBar()->addMenu(tr("&Controllers"));
    QAction *add = pluginAction(lightMenu->addAction(QIcon(QString::fromLatin1(AddIconResource)),
                                                     tr("&Add controller"), this,
                                                     &MainWindow::startAddingLight));
    add->setToolTip(tr("Add a controller: click its place on the map (Escape cancels)"));
    m_addAction = add;
    m_editAction = pluginAction(
        lightMenu->addAction(style->standardIcon(QStyle::SP_FileDialogContentsView),
                             tr("&Edit controller..."), this, &MainWindow::editSelectedLight));
    m_editAction->setShortcut(Qt::Key_Return);
    m_removeAction =
        lightMenu->addAction(style->standardIcon(QStyle::SP_TrashIcon), tr("&Remove controller"),
                             this, &MainWindow::removeSelectedLight);
    m_removeAction->setShortcut(QKeySequence::Delete);
    lightMenu->addSeparator();
    lightMenu->addMenu(new ControllerAnswersMenu(m_project, this));

    QMenu *settingsMenu = menuBar()->addMenu(tr("&Settings"));
    pluginAction(
        settingsMenu->addAction(tr("&User settings..."), this, &MainWindow::editUserSettings));
    pluginAction(
        settingsMenu->addAction(tr("&System settings..."), this, &MainWindow::editSystemSettings));
    pluginAction(settingsMenu->addAction(tr("&Open INI file..."), this, &MainWindow::editIniFile));

    QMenu *viewMenu = menuBar()->addMenu(tr("&View"));
    QAction *zoomIn = viewMenu->addAction(tr("Zoom &in"), m_view, &OsmView::zoomIn);
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction *zoomOut = viewMenu->addAction(tr("Zoom &out"), m_view, &OsmView::zoomOut);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    QAction *fit = viewMenu->addAction(tr("Show &all controllers"), m_view, &OsmView::fitItems);
    m_presetMenu = viewMenu->addMenu(tr("&Views"));
    m_sourceMenu = viewMenu->addMenu(tr("Map &sources"));
    viewMenu->addSeparator();

    QMenu *helpMenu = menuBar()->addMenu(tr("&Help"));
    helpMenu->addAction(tr("&About"), this, [this] {
        QMessageBox::about(
            this, tr("About the reference host"),
            tr("<p>The reference host of the editor plug-in.</p>"
               "<p>Plug-in version: %1</p>")
                .arg(m_editor->isLoaded() ? m_editor->moduleVersion() : tr("not loaded")));
    });

    QToolBar *tools = addToolBar(tr("Main"));
    tools->setObjectName(QStringLiteral("mainToolBar"));
    tools->addAction(add);
    tools->addAction(m_editAction);
    tools->addAction(m_removeAction);
    tools->addSeparator();
    tools->addAction(projectProps);
    tools->addAction(mapProps);
    tools->addAction(presets);
    tools->addSeparator();
    tools->addAction(zoomIn);
    tools->addAction(zoomOut);
    tools->addAction(fit);
    zoomIn->setIcon(style->standardIcon(QStyle::SP_ArrowUp));
    zoomOut->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
    fit->setIcon(style->standardIcon(QStyle::SP_BrowserReload));

    // Added last, so that the dock toggles follow the docks' creation.
    for (QDockWidget *dock : findChildren<QDockWidget *>())
        viewMenu->addAction(dock->toggleViewAction());
    viewMenu->addAction(tools->toggleViewAction());
}

void MainWindow::addMarker(Light *light)
{
    if (m_markers.contains(light))
        return;
    // The contract's "scene" is a QGraphicsScene*, which the Core-only model
    // cannot name: the map's side sets it, and takes it back with the scene.
    light->setProperty("scene", QVariant::fromValue(m_scene));
    connect(m_scene, &QObject::destroyed, light, [light] { light->setProperty("scene", {}); });
    auto *marker = new LightMarker(light);
    m_scene->addItem(marker);
    m_markers.insert(light, marker);
    connect(light, &Light::changed, this, [this, light] {
        if (LightMarker *marker = m_markers.value(light))
            marker->sync();
    });
}

Light *MainWindow::selectedLight() const
{
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    for (QGraphicsItem *item : selected) {
        if (auto *marker = qgraphicsitem_cast<LightMarker *>(item))
            return marker->light();
    }
    return nullptr;
}

void MainWindow::selectLight(Light *light)
{
    m_scene->clearSelection();
    if (LightMarker *marker = m_markers.value(light))
        marker->setSelected(true);
}

void MainWindow::applyMapSettings(bool showDefaultPreset)
{
    if (!m_project || !m_project->settings()) {
        m_view->fitItems();
        return;
    }
    bool okMin = false, okMax = false;
    const int zoomMin = m_project->zoomMin(&okMin);
    const int zoomMax = m_project->zoomMax(&okMax);
    if (okMin)
        m_view->setZoomMin(zoomMin);
    if (okMax)
        m_view->setZoomMax(zoomMax);
    rebuildSourceMenu();
    rebuildPresetMenu();
    if (!showDefaultPreset)
        return;

    const QString defaultName = m_project->defaultPresetName();
    const QList<MapPreset> presets = m_project->mapPresets();
    for (const MapPreset &preset : presets) {
        if (!defaultName.isEmpty() && preset.name == defaultName && !qIsNaN(preset.zoom)) {
            m_view->showPoint(preset.center, preset.zoom);
            return;
        }
    }
    m_view->fitItems();
}

// Choosing a source shows its tiles; the one shown stays chosen while it
// is there.
void MainWindow::rebuildSourceMenu()
{
    const QString chosen = m_view->sourceName();
    m_sourceMenu->clear();
    auto *group = new QActionGroup(m_sourceMenu);
    const QList<MapSource> sources = m_project ? m_project->mapSources() : QList<MapSource>();
    const QString baseDir = m_project ? m_project->baseDir() : QString();
    QAction *current = nullptr;
    MapSource shown;
    for (MapSource source : sources) {
        if (source.name.isEmpty())
            source.name = tr("(unnamed)");
        QAction *use = m_sourceMenu->addAction(
            source.name, this, [this, source, baseDir] { m_view->setMapSource(source, baseDir); });
        use->setCheckable(true);
        use->setActionGroup(group);
        use->setToolTip(tr("%1, tiles from %2").arg(source.dbFile, source.tileServer));
        if (!current || source.name == chosen) {
            current = use;
            shown = source;
        }
    }
    if (current)
        current->setChecked(true);
    m_view->setMapSource(shown, baseDir);
    m_sourceMenu->setToolTipsVisible(true);
    m_sourceMenu->setEnabled(!m_sourceMenu->isEmpty());
}

void MainWindow::rebuildPresetMenu()
{
    m_presetMenu->clear();
    const QList<MapPreset> presets = m_project ? m_project->mapPresets() : QList<MapPreset>();
    for (const MapPreset &preset : presets) {
        QAction *go = m_presetMenu->addAction(
            preset.name.isEmpty() ? tr("(unnamed)") : preset.name, this,
            [this, preset] { m_view->showPoint(preset.center, preset.zoom); });
        go->setToolTip(preset.toolTip);
    }
    m_presetMenu->setToolTipsVisible(true);
    m_presetMenu->setEnabled(!m_presetMenu->isEmpty());
}

void MainWindow::updateTitle()
{
    const QString title = m_project ? m_project->title() : QString();
    setWindowTitle(tr("%1[*] - editor2 host (editor2 %2)")
                       .arg(title.isEmpty() ? tr("Untitled project") : title,
                            m_editor->isLoaded() ? m_editor->moduleVersion() : tr("not loaded")));
    setWindowModified(m_project && m_project->isChanged());
}

void MainWindow::updateActions()
{
    const bool selected = selectedLight() != nullptr;
    m_editAction->setEnabled(m_editor->isLoaded() && selected);
    m_removeAction->setEnabled(selected);
}

void MainWindow::editLight(Light *light)
{
    if (!light || m_editing)
        return;
    const QScopedValueRollback<bool> busy(m_editing, true);
    // Hidden for picking a position, the editor leaves the map to the user:
    // one click there would end a placement as well.
    const ActionDisabled noAdding(m_addAction);
    selectLight(light);
    m_crossView->setLight(light);
    m_editor->editObject(light);
    if (m_crossView)
        m_crossView->setLight(nullptr);
}

void MainWindow::editSelectedLight()
{
    Light *light = selectedLight();
    if (!light) {
        statusBar()->showMessage(tr("Select a controller on the map first"), 4000);
        return;
    }
    editLight(light);
}

void MainWindow::onObjectEdited(QObject *object)
{
    auto *light = qobject_cast<Light *>(object);
    if (!light)
        return;
    if (LightMarker *marker = m_markers.value(light))
        marker->sync();
    // OK without a change leaves nothing to save.
    const QByteArray before = m_recordsBeforeEdit.take(light);
    if (!m_project || ProjectStore::lightRecord(light, m_project->baseDir()) == before)
        return;
    m_project->setChanged(true);
    statusBar()->showMessage(tr("Controller %1 changed").arg(light->id()), 4000);
}

void MainWindow::editProject()
{
    m_editor->editProject(m_project);
    // The dialog writes the filters into Python and the project; take
    // whatever Python now holds, so that both stay alike.
    m_python->pullFilters();
    updateTitle();
}

bool MainWindow::saveProject()
{
    if (!m_project)
        return false;
    auto ifChanged = ProjectStore::IfChangedOnDisk::Refuse;
    if (ProjectStore::changedOnDisk(m_project)) {
        QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::Warning, tr("Save project"),
                            tr("%1 changed on disk since the host read or saved it.")
                                .arg(QDir::toNativeSeparators(m_project->fileName())),
                            QMessageBox::Cancel, this);
        box->setInformativeText(tr("Overwrite replaces the file's changes with the project as the "
                                   "host shows it. Reload reads the file again and drops the "
                                   "changes not saved here."));
        QAbstractButton *overwrite = box->addButton(tr("&Overwrite"), QMessageBox::DestructiveRole);
        QAbstractButton *reload = box->addButton(tr("&Reload"), QMessageBox::ResetRole);
        box->setDefaultButton(QMessageBox::Cancel);
        box->setEscapeButton(QMessageBox::Cancel);
        box->exec();
        // Gone with the window, if the window went meanwhile.
        if (!box)
            return false;
        QAbstractButton *answer = box->clickedButton();
        delete box;
        if (!m_project || (answer != overwrite && answer != reload))
            return false;
        if (answer == reload)
            return reloadProject(tr("Save project"));
        ifChanged = ProjectStore::IfChangedOnDisk::Overwrite;
    }
    QString error;
    QString kept;
    if (!ProjectStore::save(m_project, &error, &kept, ifChanged)) {
        QMessageBox::critical(this, tr("Save project"),
                              tr("The project cannot be saved: %1").arg(error));
        return false;
    }
    const QString saved =
        tr("Project saved to %1").arg(QDir::toNativeSeparators(m_project->fileName()));
    statusBar()->showMessage(kept.isEmpty() ? saved
                                            : tr("%1; the unreadable file was kept as %2")
                                                  .arg(saved, QDir::toNativeSeparators(kept)),
                             6000);
    return true;
}

void MainWindow::editUserSettings()
{
    QSettings().sync();
    m_editor->editUserSettings();
}

void MainWindow::editSystemSettings()
{
    m_editor->editSystemSettings();
}

void MainWindow::editIniFile()
{
    const QString start = HostSettings::lastIniFile(m_project ? m_project->baseDir() : QString());
    QFileDialog dialog(this, tr("Edit INI file"), start,
                       tr("INI files (*.ini *.conf);;All files (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own size (about 630 x 415) cuts the columns of the file list: two
    // thirds of the screen, within bounds, as the plug-in's file dialogs.
    if (const QScreen *screen = this->screen()) {
        const QSize available = screen->availableGeometry().size();
        const QSize wanted =
            (available * 2 / 3).expandedTo(QSize(900, 560)).boundedTo(QSize(1200, 800));
        dialog.resize(wanted.boundedTo(available));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    HostSettings::setLastIniFile(fileName);
    openIniFile(fileName);
}

void MainWindow::openIniFile(const QString &fileName)
{
    if (!m_project || QFileInfo(fileName) != QFileInfo(m_project->fileName())) {
        m_editor->editIniFile(fileName);
        return;
    }
    // The editor shows the file as saved, and the next save would write
    // over what it changes: so the project is saved first and read again
    // after it, and neither side's changes are lost.
    if (m_project->isChanged()) {
        const auto answer = QMessageBox::question(
            this, tr("Edit project file"),
            tr("The project has unsaved changes. Save them before editing the project file?"),
            QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save);
        if (answer != QMessageBox::Save || !saveProject())
            return;
    }
    const QByteArray before = fileContents(fileName);
    m_editor->editIniFile(fileName);
    if (!m_project || fileContents(fileName) == before)
        return;
    if (!reloadProject(tr("Edit project file")) && m_project && m_project->settings()) {
        // Saving puts back the project that the host still holds.
        m_project->setChanged(true);
    }
}

bool MainWindow::reloadProject(const QString &title)
{
    QString error;
    const bool read = ProjectStore::reload(m_project, &error);
    if (read)
        statusBar()->showMessage(
            tr("Project read again from %1").arg(QDir::toNativeSeparators(m_project->fileName())),
            6000);
    else
        QMessageBox::warning(this, title,
                             tr("%1 The project stays as it was until it is saved.").arg(error));
    applyMapSettings(false);
    return read;
}

void MainWindow::editMapProperties()
{
    if (m_project)
        m_project->editSettings(
            [this](QSettings *settings) { m_editor->editOsmProperies(settings, m_view); });
    else
        m_editor->editOsmProperies(nullptr, m_view);
    applyMapSettings(false);
}

void MainWindow::editPresets()
{
    if (m_project)
        m_project->editSettings(
            [this](QSettings *settings) { m_editor->editPresets(settings, m_view); });
    else
        m_editor->editPresets(nullptr, m_view);
    rebuildPresetMenu();
}

void MainWindow::startAddingLight()
{
    QPixmap pixmap(QString::fromLatin1(AddCursorResource));
    const QCursor cursor = pixmap.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pixmap);
    m_adding = true;
    if (!m_editor->startAddMode(m_scene, cursor)) {
        m_adding = false;
        return;
    }
    // Escape reaches the plug-in through the scene, so the map needs the keys.
    m_view->setFocus();
    statusBar()->showMessage(tr("Click the new controller's place on the map; Escape cancels"));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The plug-in ends its placement mode on Escape without a word; follow it.
    if (watched == m_scene && m_adding && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_adding = false;
        statusBar()->showMessage(tr("Adding a controller cancelled"), 3000);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onObjectAdded(QPointF point)
{
    if (!m_adding || !m_project)
        return;
    m_adding = false;
    statusBar()->clearMessage();
    if (m_editing)
        return;

    auto *light = new Light;
    light->setPosition(point);
    light->controller().description = tr("New controller");
    light->controller().position = point;
    light->controller().phases = {1, 2};
    light->controller().programs = {1};
    QPointer<Light> guard(light);
    m_project->addLight(light);
    selectLight(light);
    m_crossView->setLight(light);
    bool accepted = false;
    {
        const QScopedValueRollback<bool> busy(m_editing, true);
        const ActionDisabled noAdding(m_addAction);
        accepted = m_editor->editObject(light);
    }
    m_crossView->setLight(nullptr);
    if (!guard)
        return;
    if (!accepted) {
        m_project->removeLight(light);
        return;
    }
    m_project->setChanged(true);
}

void MainWindow::removeSelectedLight()
{
    Light *light = selectedLight();
    if (!light || !m_project || m_editing)
        return;
    const auto answer = QMessageBox::question(this, tr("Remove controller"),
                                              tr("Remove controller %1 (%2) from the project?")
                                                  .arg(light->id())
                                                  .arg(light->description()));
    if (answer != QMessageBox::Yes)
        return;
    m_project->removeLight(light);
    m_project->setChanged(true);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Without the plug-in its close handler does not ask; the host does.
    if (!m_editor->isLoaded() && !m_python->closeQuestion()->closeProject()) {
        event->ignore();
        return;
    }
    HostSettings::setWindow(saveGeometry(), saveState());
    QMainWindow::closeEvent(event);
}
