// The plug-in as its host sees it: loaded with QPluginLoader from the build
// tree and driven only by name. Nothing of the plug-in is included here; the
// host's objects are the test kit's stand-ins.

#include "formparts.h"
#include "modaldriver.h"
#include "standinhost.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLibrary>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QPointer>
#include <QPushButton>
#include <QResource>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace Arvel {

// A host class derived from the controller class.
class TrafficLight : public Light
{
    Q_OBJECT

public:
    using Light::Light;
};

} // namespace Arvel

// A host class derived from the map view's class.
class MapView : public OsmView
{
    Q_OBJECT

public:
    using OsmView::OsmView;
};

// Runs a callback when a string-based connection fires.
class Listener : public QObject
{
    Q_OBJECT

public:
    explicit Listener(std::function<void()> callback)
        : m_callback(std::move(callback))
    {
    }

public slots:
    void notify() { m_callback(); }

private:
    std::function<void()> m_callback;
};

namespace {

const char PluginPath[] = EDITOR2_PLUGIN_DIR "/editor2";

// A controller object that the object dialog can apply unchanged.
template<typename Light = Arvel::Light> Light *makeLight(QObject *project)
{
    auto *light = new Light(nullptr, project);
    light->preset("id", 7);
    light->preset("type", QStringLiteral("DKST"));
    light->preset("description", QStringLiteral("Crossing"));
    return light;
}

// Clears the "quit now" state that QCoreApplication::quit() leaves behind when
// no application loop runs; until then every new event loop ends at once.
void recoverFromQuit()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

} // namespace

class tst_EditorPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void metadataNamesTheRootClass();
    void moduleVersionIsReadOnlyText();
    void instanceIsSingleAndRecreatedAfterDestruction();
    void metaObjectInterfaceInDeclaredOrder();
    void castAnswersOnlyToOwnClassNames_data();
    void castAnswersOnlyToOwnClassNames();
    void resourcesRegisteredUncompressed_data();
    void resourcesRegisteredUncompressed();

    void entryPointOpensItsWindow_data();
    void entryPointOpensItsWindow();
    void entryPointSurvivesMainWindowDestroyedMeanwhile_data();
    void entryPointSurvivesMainWindowDestroyedMeanwhile();
    void editIniFileWithoutNameEditsUserSettings();
    void editObjectRefusesNonController_data();
    void editObjectRefusesNonController();
    void editObjectResult_data();
    void editObjectResult();

    void placementEndsOnMapRelease_data();
    void placementEndsOnMapRelease();
    void placementReportsOnlyOneOfTwoQuickReleases();
    void placementSceneEvents_data();
    void placementSceneEvents();
    void placementWithoutMapViewEndsOnlyOnEscape_data();
    void placementWithoutMapViewEndsOnlyOnEscape();

    void closeHandlerWithoutPythonLetsWindowClose();
    void waitsForDialogUnderWay_data();
    void waitsForDialogUnderWay();

private:
    QObject *plugin() { return m_loader.instance(); }
    bool invokeEntry(const QString &entry, QSettings *settings, QObject *object);
    void startAddMode(QGraphicsScene *scene, Qt::CursorShape shape);

    QPluginLoader m_loader;
    QTemporaryDir m_dir;
};

void tst_EditorPlugin::initTestCase()
{
    // The settings editor opens the application's own settings: keep them away
    // from the real configuration.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Editor2Tests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_editorplugin"));
    QVERIFY(m_dir.isValid());
    quietOffscreenWarnings();

    m_loader.setFileName(QString::fromLatin1(PluginPath));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    QVERIFY(plugin());
}

void tst_EditorPlugin::cleanup()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void tst_EditorPlugin::metadataNamesTheRootClass()
{
    const QJsonObject metaData = m_loader.metaData();
    QCOMPARE(metaData.value(QStringLiteral("className")).toString(),
             QStringLiteral("EditorPlugin"));
    const QStringList iid =
        metaData.value(QStringLiteral("IID")).toString().split(QLatin1Char('.'));
    QVERIFY2(iid.size() > 1, "the interface identifier is a reverse-domain name");
    QCOMPARE(iid.last(), QStringLiteral("EditorPlugin"));
    QVERIFY(!metaData.contains(QStringLiteral("MetaData")));
    QCOMPARE(metaData.value(QStringLiteral("debug")).toBool(), false);
    QCOMPARE(metaData.value(QStringLiteral("version")).toInt() >> 8, 0x050f);
}

void tst_EditorPlugin::moduleVersionIsReadOnlyText()
{
    QObject *root = plugin();
    // The version that project() in CMakeLists.txt gives.
    QCOMPARE(root->property("moduleVersion"), QVariant(QStringLiteral(EDITOR2_VERSION)));

    const QMetaObject *meta = root->metaObject();
    const int index = meta->indexOfProperty("moduleVersion");
    QVERIFY(index >= meta->propertyOffset());
    const QMetaProperty property = meta->property(index);
    QCOMPARE(property.typeName(), "QString");
    QVERIFY(property.isReadable());
    QVERIFY(!property.isWritable());
    QVERIFY(!property.isResettable());
    QVERIFY(!property.hasNotifySignal());
    QVERIFY(property.isDesignable());
    QVERIFY(property.isScriptable());
    QVERIFY(property.isStored());
    QCOMPARE(meta->propertyCount() - meta->propertyOffset(), 1);

    QVERIFY(!root->setProperty("moduleVersion", QStringLiteral("9.9")));
    QCOMPARE(root->property("moduleVersion").toString(), QStringLiteral(EDITOR2_VERSION));
}

void tst_EditorPlugin::instanceIsSingleAndRecreatedAfterDestruction()
{
    using Factory = QObject *(*)();
    QLibrary library(QString::fromLatin1(PluginPath));
    const auto factory = reinterpret_cast<Factory>(library.resolve("qt_plugin_instance"));
    QVERIFY2(factory, qPrintable(library.errorString()));

    QObject *root = factory();
    QVERIFY(root);
    QCOMPARE(factory(), root);
    QCOMPARE(plugin(), root);
    QPluginLoader second(QString::fromLatin1(PluginPath));
    QCOMPARE(second.instance(), root);
    QVERIFY(!root->parent());

    // The host may destroy the root; the next request builds a new one.
    QPointer<QObject> guard(root);
    delete root;
    QVERIFY(!guard);
    QObject *renewed = factory();
    QVERIFY(renewed);
    QCOMPARE(renewed->metaObject()->className(), "EditorPlugin");
    QCOMPARE(factory(), renewed);
    QCOMPARE(plugin(), renewed);
}

void tst_EditorPlugin::metaObjectInterfaceInDeclaredOrder()
{
    const QMetaObject *meta = plugin()->metaObject();
    QCOMPARE(meta->className(), "EditorPlugin");
    QCOMPARE(meta->superClass(), &QObject::staticMetaObject);

    QStringList actual;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        static const char *const kinds[] = {"method", "signal", "slot", "constructor"};
        static const char *const access[] = {"private", "protected", "public"};
        actual << QStringLiteral("%1 %2 %3 %4")
                      .arg(QLatin1String(kinds[method.methodType()]),
                           QLatin1String(access[method.access()]), QLatin1String(method.typeName()),
                           QLatin1String(method.methodSignature()));
    }
    const QStringList expected = {
        QStringLiteral("signal public void objectAdded(QPointF)"),
        QStringLiteral("signal public void objectEdited(QObject*)"),
        QStringLiteral("slot private void osmViewMouseRelease(QPointF)"),
        QStringLiteral("slot private void concon_started()"),
        QStringLiteral("slot private void concon_finished(int)"),
        QStringLiteral("method public bool editObject(QObject*,bool)"),
        QStringLiteral("method public bool editObject(QObject*)"),
        QStringLiteral("method public void startAddMode(QGraphicsScene*,QCursor)"),
        QStringLiteral("method public void editProject(QObject*)"),
        QStringLiteral("method public void editUserSettings()"),
        QStringLiteral("method public void editSystemSettings()"),
        QStringLiteral("method public void editIniFile(QString)"),
        QStringLiteral("method public void editOsmProperies(QSettings*,QObject*)"),
        QStringLiteral("method public void editPresets(QSettings*,QGraphicsView*)"),
        QStringLiteral("method public void initCloseHandler()"),
    };
    QCOMPARE(actual, expected);

    // The two do-nothing slots answer by name like the rest.
    QVERIFY(QMetaObject::invokeMethod(plugin(), "concon_started"));
    QVERIFY(QMetaObject::invokeMethod(plugin(), "concon_finished", Q_ARG(int, 3)));
}

void tst_EditorPlugin::castAnswersOnlyToOwnClassNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("answers");

    QTest::newRow("own class") << QByteArray("EditorPlugin") << true;
    QTest::newRow("base class") << QByteArray("QObject") << true;
    QTest::newRow("interface identifier")
        << m_loader.metaData().value(QStringLiteral("IID")).toString().toLatin1() << false;
    QTest::newRow("controller class") << QByteArray("Arvel::Light") << false;
    QTest::newRow("dialog class") << QByteArray("QDialog") << false;
}

void tst_EditorPlugin::castAnswersOnlyToOwnClassNames()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, answers);
    QCOMPARE(plugin()->qt_metacast(name.constData()) != nullptr, answers);
}

void tst_EditorPlugin::resourcesRegisteredUncompressed_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("size");

    QTest::newRow("add_camera") << QStringLiteral(":/resources/add_camera.png") << qint64(1803);
    QTest::newRow("add_camera_cursor")
        << QStringLiteral(":/resources/add_camera_cursor.png") << qint64(1774);
    QTest::newRow("add_object") << QStringLiteral(":/resources/add_object.png") << qint64(1011);
    QTest::newRow("add_object_cursor")
        << QStringLiteral(":/resources/add_object_cursor.png") << qint64(1272);
    QTest::newRow("new_project") << QStringLiteral(":/resources/new_project.png") << qint64(852);
    QTest::newRow("objects_move") << QStringLiteral(":/resources/objects_move.png") << qint64(1265);
}

void tst_EditorPlugin::resourcesRegisteredUncompressed()
{
    QFETCH(QString, path);
    QFETCH(qint64, size);

    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), size);
    QCOMPARE(QResource(path).compressionAlgorithm(), QResource::NoCompression);
    QCOMPARE(QImage(path).size(), QSize(32, 32));
}

// Calls an entry point by name with the arguments the host would pass.
bool tst_EditorPlugin::invokeEntry(const QString &entry, QSettings *settings, QObject *object)
{
    QObject *root = plugin();
    if (entry == QLatin1String("editObject")) {
        bool edited = false;
        return QMetaObject::invokeMethod(root, "editObject", Q_RETURN_ARG(bool, edited),
                                         Q_ARG(QObject *, object));
    }
    if (entry == QLatin1String("editProject"))
        return QMetaObject::invokeMethod(root, "editProject", Q_ARG(QObject *, object));
    if (entry == QLatin1String("editUserSettings"))
        return QMetaObject::invokeMethod(root, "editUserSettings");
    if (entry == QLatin1String("editSystemSettings"))
        return QMetaObject::invokeMethod(root, "editSystemSettings");
    if (entry == QLatin1String("editIniFile"))
        return QMetaObject::invokeMethod(
            root, "editIniFile", Q_ARG(QString, m_dir.filePath(QStringLiteral("edited.ini"))));
    if (entry == QLatin1String("editOsmProperies"))
        return QMetaObject::invokeMethod(root, "editOsmProperies", Q_ARG(QSettings *, settings),
                                         Q_ARG(QObject *, object));
    if (entry == QLatin1String("editPresets"))
        return QMetaObject::invokeMethod(
            root, "editPresets", Q_ARG(QSettings *, settings),
            Q_ARG(QGraphicsView *, qobject_cast<QGraphicsView *>(object)));
    if (entry == QLatin1String("startAddMode"))
        return QMetaObject::invokeMethod(root, "startAddMode", Q_ARG(QGraphicsScene *, nullptr),
                                         Q_ARG(QCursor, QCursor(Qt::CrossCursor)));
    return false;
}

void tst_EditorPlugin::entryPointOpensItsWindow_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("withSettings");
    QTest::addColumn<QString>("object"); // "light", "project", "plain", "view" or none
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("errorText"); // for message boxes
    QTest::addColumn<bool>("withMainWindow");

    struct Row
    {
        const char *tag;
        const char *entry;
        bool withSettings;
        const char *object;
        const char *windowClass;
        const char *errorText;
    };
    const Row rows[] = {
        {"editObject on a controller", "editObject", false, "light", "ObjectPropertiesDlg", ""},
        {"editObject on a plain object", "editObject", false, "plain", "QMessageBox",
         "Invalid light object"},
        {"editProject", "editProject", false, "project", "ProjectPropertiesDlg", ""},
        {"editProject without project", "editProject", false, "", "ProjectPropertiesDlg", ""},
        {"editUserSettings", "editUserSettings", false, "", "SettingsEditDlg", ""},
        {"editSystemSettings", "editSystemSettings", false, "", "SettingsEditDlg", ""},
        {"editIniFile", "editIniFile", false, "", "SettingsEditDlg", ""},
        {"editOsmProperies", "editOsmProperies", true, "view", "OsmViewPropertiesDlg", ""},
        {"editOsmProperies without arguments", "editOsmProperies", false, "",
         "OsmViewPropertiesDlg", ""},
        {"editPresets", "editPresets", true, "view", "PresetsEditDlg", ""},
        {"editPresets without view", "editPresets", true, "", "PresetsEditDlg", ""},
        {"editPresets without settings", "editPresets", false, "view", "QMessageBox",
         "Project not created"},
        {"startAddMode without scene", "startAddMode", false, "", "QMessageBox",
         "Invalid scene object"},
    };
    for (const Row &row : rows) {
        for (bool withMainWindow : {false, true}) {
            QTest::addRow("%s, %s", row.tag, withMainWindow ? "main window" : "no main window")
                << QString::fromLatin1(row.entry) << row.withSettings
                << QString::fromLatin1(row.object) << QString::fromLatin1(row.windowClass)
                << QString::fromLatin1(row.errorText) << withMainWindow;
        }
    }
}

// Every entry point answers by name and opens exactly one window, a child of
// the main window when there is one, and destroys it before returning.
void tst_EditorPlugin::entryPointOpensItsWindow()
{
    QFETCH(QString, entry);
    QFETCH(bool, withSettings);
    QFETCH(QString, object);
    QFETCH(QString, windowClass);
    QFETCH(QString, errorText);
    QFETCH(bool, withMainWindow);

    QScopedPointer<MainWindow> mainWindow(withMainWindow ? new MainWindow : nullptr);
    if (mainWindow)
        mainWindow->show();
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(topLevels.cbegin(), topLevels.cend(),
                           [](const QWidget *w) { return w->inherits("QMainWindow"); }),
             withMainWindow ? 1 : 0);

    QSettings settings(m_dir.filePath(QStringLiteral("project.ini")), QSettings::IniFormat);
    Arvel::Project project(nullptr);
    auto *light = makeLight(&project);
    QObject plain;
    QGraphicsScene scene;
    OsmView view(nullptr, &scene);
    QObject *argument = nullptr;
    if (object == QLatin1String("light"))
        argument = light;
    else if (object == QLatin1String("project"))
        argument = &project;
    else if (object == QLatin1String("plain"))
        argument = &plain;
    else if (object == QLatin1String("view"))
        argument = &view;

    QSignalSpy edited(plugin(), SIGNAL(objectEdited(QObject *)));
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));
    ModalDriver driver;
    QVERIFY(invokeEntry(entry, withSettings ? &settings : nullptr, argument));

    QVERIFY(!driver.gaveUp());
    QCOMPARE(driver.seen().size(), 1);
    const ModalSeen &seen = driver.seen().first();
    QCOMPARE(seen.className, windowClass);
    QCOMPARE(seen.parent, static_cast<QWidget *>(mainWindow.data()));
    QVERIFY2(!seen.widget, "the window outlives the call");
    if (windowClass == QLatin1String("QMessageBox")) {
        QCOMPARE(seen.title, QStringLiteral("Error"));
        QCOMPARE(seen.text, errorText);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    } else {
        // The object dialog is opened over the main window only, so that the
        // host keeps running its map and timers; the others run modally.
        QCOMPARE(seen.modality,
                 entry == QLatin1String("editObject") ? Qt::WindowModal : Qt::ApplicationModal);
    }
    QCOMPARE(edited.count(), 0);
    QCOMPARE(added.count(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_EditorPlugin::entryPointSurvivesMainWindowDestroyedMeanwhile_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("object");
    for (const char *entry : {"editObject", "editProject", "editUserSettings", "editSystemSettings",
                              "editIniFile", "editOsmProperies", "editPresets"})
        QTest::newRow(entry) << QString::fromLatin1(
            entry) << QString::fromLatin1(qstrcmp(entry, "editObject") == 0 ? "light" : "");
    QTest::newRow("Error box of an entry point") << "editObject"
                                                 << "plain";
    // OK on a file that cannot be read cleanly.
    QTest::newRow("Error box of the settings editor") << "editIniFile"
                                                      << "damaged";
}

// The host may tear its main window down while a dialog runs over it: the
// dialog goes with it, and the entry point returns without touching it again.
void tst_EditorPlugin::entryPointSurvivesMainWindowDestroyedMeanwhile()
{
    QFETCH(QString, entry);
    QFETCH(QString, object);

    QPointer<MainWindow> mainWindow = new MainWindow;
    mainWindow->show();
    QSettings settings(m_dir.filePath(QStringLiteral("project.ini")), QSettings::IniFormat);
    Arvel::Project project(nullptr);
    auto *light = makeLight(&project);
    QObject plain;
    QFile damaged(m_dir.filePath(QStringLiteral("edited.ini")));
    if (object == QLatin1String("damaged")) {
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("[General]\nlanguage=ru\n[broken\nk=1\n");
        damaged.close();
    }
    QSignalSpy edited(plugin(), SIGNAL(objectEdited(QObject *)));
    // On a damaged file, OK opens an "Error" box: the window goes during it.
    const bool damagedFile = object == QLatin1String("damaged");
    const ModalDriver::Action deleteMainWindow = [&mainWindow](QWidget *) {
        delete mainWindow.data();
    };
    const ModalDriver::Action pressOk = [](QWidget *dialog) {
        ModalDriver::press(dialog, QDialogButtonBox::Ok);
    };
    ModalDriver driver({damagedFile ? pressOk : deleteMainWindow, deleteMainWindow});
    invokeEntry(entry, &settings,
                object == QLatin1String("light")   ? light
                : object == QLatin1String("plain") ? &plain
                                                   : nullptr);

    QVERIFY(!driver.gaveUp());
    QVERIFY(mainWindow.isNull());
    QCOMPARE(driver.seen().size(), damagedFile ? 2 : 1);
    if (damagedFile)
        QCOMPARE(driver.seen().last().className, QStringLiteral("QMessageBox"));
    QVERIFY(driver.seen().first().widget.isNull());
    QCOMPARE(edited.count(), 0);
    damaged.remove();
}

void tst_EditorPlugin::editIniFileWithoutNameEditsUserSettings()
{
    const QString userFile =
        QSettings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                  QCoreApplication::applicationName())
            .fileName();
    QStringList shown;
    const auto recordFileName = [&shown](QWidget *dialog) {
        auto *edit = part<QLineEdit>(dialog, "fileName");
        shown << (edit ? edit->text() : QStringLiteral("no fileName field"));
        ModalDriver::close(dialog);
    };
    {
        ModalDriver driver(recordFileName);
        QVERIFY(QMetaObject::invokeMethod(plugin(), "editIniFile", Q_ARG(QString, QString())));
    }
    {
        ModalDriver driver(recordFileName);
        QVERIFY(QMetaObject::invokeMethod(plugin(), "editUserSettings"));
    }
    const QString named = m_dir.filePath(QStringLiteral("named.ini"));
    {
        ModalDriver driver(recordFileName);
        QVERIFY(QMetaObject::invokeMethod(plugin(), "editIniFile", Q_ARG(QString, named)));
    }
    QCOMPARE(shown, QStringList({userFile, userFile, named}));
}

void tst_EditorPlugin::editObjectRefusesNonController_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<bool>("withFlag");

    QTest::newRow("null, one argument") << QString() << false;
    QTest::newRow("null, emit_signal true") << QString() << true;
    QTest::newRow("project, one argument") << QStringLiteral("project") << false;
    QTest::newRow("project, emit_signal true") << QStringLiteral("project") << true;
    QTest::newRow("plain object, emit_signal true") << QStringLiteral("plain") << true;
    QTest::newRow("map view, one argument") << QStringLiteral("view") << false;
}

void tst_EditorPlugin::editObjectRefusesNonController()
{
    QFETCH(QString, object);
    QFETCH(bool, withFlag);

    Arvel::Project project(nullptr);
    QObject plain;
    OsmView view;
    QObject *argument = object == QLatin1String("project") ? static_cast<QObject *>(&project)
                        : object == QLatin1String("plain") ? &plain
                        : object == QLatin1String("view")  ? &view
                                                           : nullptr;

    QSignalSpy edited(plugin(), SIGNAL(objectEdited(QObject *)));
    ModalDriver driver;
    bool result = true;
    if (withFlag)
        QVERIFY(QMetaObject::invokeMethod(plugin(), "editObject", Q_RETURN_ARG(bool, result),
                                          Q_ARG(QObject *, argument), Q_ARG(bool, true)));
    else
        QVERIFY(QMetaObject::invokeMethod(plugin(), "editObject", Q_RETURN_ARG(bool, result),
                                          Q_ARG(QObject *, argument)));

    QCOMPARE(result, false);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().className, QStringLiteral("QMessageBox"));
    QCOMPARE(driver.seen().first().text, QStringLiteral("Invalid light object"));
    QCOMPARE(edited.count(), 0);
}

namespace {
enum class WhileWaiting {
    PressOk,
    Cancel,
    CloseWindow,
    HideShowThenOk,
    HideShowThenCancel,
    DestroyDialog,
    DeleteObject,
    Quit
};
}
Q_DECLARE_METATYPE(WhileWaiting)

void tst_EditorPlugin::editObjectResult_data()
{
    QTest::addColumn<WhileWaiting>("action");
    QTest::addColumn<int>("flag"); // -1: one-argument call
    QTest::addColumn<bool>("derivedClass");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("signal");

    QTest::newRow("OK, one argument") << WhileWaiting::PressOk << -1 << false << true << true;
    QTest::newRow("OK, emit_signal true") << WhileWaiting::PressOk << 1 << false << true << true;
    QTest::newRow("OK, emit_signal false") << WhileWaiting::PressOk << 0 << false << true << false;
    QTest::newRow("OK on a derived controller class")
        << WhileWaiting::PressOk << -1 << true << true << true;
    QTest::newRow("Cancel, one argument") << WhileWaiting::Cancel << -1 << false << false << false;
    QTest::newRow("Cancel, emit_signal true")
        << WhileWaiting::Cancel << 1 << false << false << false;
    QTest::newRow("window closed") << WhileWaiting::CloseWindow << -1 << false << false << false;
    QTest::newRow("hidden and shown again, then OK")
        << WhileWaiting::HideShowThenOk << -1 << false << true << true;
    QTest::newRow("hidden and shown again, then Cancel")
        << WhileWaiting::HideShowThenCancel << 1 << false << false << false;
    QTest::newRow("dialog destroyed from outside")
        << WhileWaiting::DestroyDialog << -1 << false << false << false;
    QTest::newRow("object deleted while waiting")
        << WhileWaiting::DeleteObject << -1 << false << false << false;
    QTest::newRow("application quits while waiting")
        << WhileWaiting::Quit << -1 << false << false << false;
}

void tst_EditorPlugin::editObjectResult()
{
    QFETCH(WhileWaiting, action);
    QFETCH(int, flag);
    QFETCH(bool, derivedClass);
    QFETCH(bool, result);
    QFETCH(bool, signal);

    MainWindow mainWindow;
    mainWindow.show();
    Arvel::Project project(nullptr);
    QPointer<QObject> light(derivedClass ? makeLight<Arvel::TrafficLight>(&project)
                                         : makeLight(&project));

    bool hiddenMeanwhile = false;
    const auto act = [&](QWidget *dialog) {
        QPointer<QWidget> guard(dialog);
        switch (action) {
        case WhileWaiting::PressOk:
            ModalDriver::press(dialog, QDialogButtonBox::Ok);
            break;
        case WhileWaiting::Cancel:
            ModalDriver::close(dialog);
            break;
        case WhileWaiting::CloseWindow:
            dialog->close();
            break;
        case WhileWaiting::HideShowThenOk:
        case WhileWaiting::HideShowThenCancel:
            // As position picking does: hide, let events run, show again.
            dialog->hide();
            QTimer::singleShot(20, [&, guard] {
                if (!guard)
                    return;
                hiddenMeanwhile = !guard->isVisible();
                guard->show();
                QTimer::singleShot(20, [&, guard] {
                    if (!guard)
                        return;
                    if (action == WhileWaiting::HideShowThenOk)
                        ModalDriver::press(guard, QDialogButtonBox::Ok);
                    else
                        ModalDriver::close(guard);
                });
            });
            break;
        case WhileWaiting::DestroyDialog:
            delete dialog;
            break;
        case WhileWaiting::DeleteObject:
            delete light.data();
            break;
        case WhileWaiting::Quit:
            QCoreApplication::quit();
            break;
        }
    };

    QSignalSpy edited(plugin(), SIGNAL(objectEdited(QObject *)));
    // The signal comes while the dialog still exists, before the call returns.
    bool dialogAliveAtSignal = false;
    ModalDriver driver(act);
    Listener listener(
        [&] { dialogAliveAtSignal = !driver.seen().isEmpty() && driver.seen().first().widget; });
    QVERIFY(connect(plugin(), SIGNAL(objectEdited(QObject *)), &listener, SLOT(notify())));

    bool returned = !result;
    bool invoked;
    if (flag < 0)
        invoked = QMetaObject::invokeMethod(plugin(), "editObject", Q_RETURN_ARG(bool, returned),
                                            Q_ARG(QObject *, light.data()));
    else
        invoked = QMetaObject::invokeMethod(plugin(), "editObject", Q_RETURN_ARG(bool, returned),
                                            Q_ARG(QObject *, light.data()), Q_ARG(bool, flag != 0));
    if (action == WhileWaiting::Quit)
        recoverFromQuit();

    QVERIFY(invoked);
    QVERIFY(!driver.gaveUp());
    QCOMPARE(returned, result);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().className, QStringLiteral("ObjectPropertiesDlg"));
    QVERIFY2(!driver.seen().first().widget, "the dialog outlives the call");
    QCOMPARE(edited.count(), signal ? 1 : 0);
    if (signal)
        QCOMPARE(edited.first().first().value<QObject *>(), light.data());
    if (action == WhileWaiting::HideShowThenOk || action == WhileWaiting::HideShowThenCancel)
        QVERIFY(hiddenMeanwhile);
    QCOMPARE(dialogAliveAtSignal, signal);
}

void tst_EditorPlugin::startAddMode(QGraphicsScene *scene, Qt::CursorShape shape)
{
    QVERIFY(QMetaObject::invokeMethod(plugin(), "startAddMode", Q_ARG(QGraphicsScene *, scene),
                                      Q_ARG(QCursor, QCursor(shape))));
}

void tst_EditorPlugin::placementEndsOnMapRelease_data()
{
    QTest::addColumn<QString>("views");

    QTest::newRow("map view") << QStringLiteral("osm");
    QTest::newRow("subclass of the map view") << QStringLiteral("derived");
    QTest::newRow("plain view before the map view") << QStringLiteral("plain,osm");
    QTest::newRow("two map views, the first is used") << QStringLiteral("osm,osm");
}

void tst_EditorPlugin::placementEndsOnMapRelease()
{
    QFETCH(QString, views);

    Scene scene;
    std::vector<std::unique_ptr<QGraphicsView>> owned;
    QList<OsmView *> mapViews;
    for (const QString &kind : views.split(QLatin1Char(','))) {
        if (kind == QLatin1String("plain")) {
            owned.emplace_back(new QGraphicsView(&scene));
        } else {
            auto *view = kind == QLatin1String("derived") ? new MapView(nullptr, &scene)
                                                          : new OsmView(nullptr, &scene);
            owned.emplace_back(view);
            mapViews << view;
        }
    }

    // The host's own override cursor must survive the mode.
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));
    startAddMode(&scene, Qt::CrossCursor);
    QCOMPARE(overrideCursorShape(), int(Qt::CrossCursor));

    // Only the first map view is listened to.
    for (int i = 1; i < mapViews.size(); ++i)
        emit mapViews.at(i)->mouseRelease(QPointF(1, 1));
    QCoreApplication::processEvents();
    QCOMPARE(added.count(), 0);

    const QPointF point(37.617298123, -55.755826);
    emit mapViews.first()->mouseRelease(point);
    // Queued: the view finishes its own handling first.
    QCOMPARE(added.count(), 0);
    QVERIFY(added.wait(2000));
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first().first().toPointF(), point);
    QCOMPARE(overrideCursorShape(), int(Qt::WaitCursor));

    // The mode is over: neither a release nor Escape does anything now.
    emit mapViews.first()->mouseRelease(QPointF(2, 2));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&scene, &escape);
    QCoreApplication::processEvents();
    QCOMPARE(added.count(), 1);
    QCOMPARE(overrideCursorShape(), int(Qt::WaitCursor));
}

// Two releases can arrive before the queued call of the first one runs (a
// quick double click): the mode must still end once, with one point, and
// restore one cursor only.
void tst_EditorPlugin::placementReportsOnlyOneOfTwoQuickReleases()
{
    QGraphicsScene scene;
    OsmView view(nullptr, &scene);
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));
    startAddMode(&scene, Qt::CrossCursor);

    emit view.mouseRelease(QPointF(1, 2));
    emit view.mouseRelease(QPointF(3, 4));
    QVERIFY(added.wait(2000));
    QCoreApplication::processEvents();

    QCOMPARE(added.first().first().toPointF(), QPointF(1, 2));
    // Disconnecting does not cancel a call already queued: the second
    // release still reaches the plug-in after the mode has ended.
    QCOMPARE(added.count(), 1);
    QCOMPARE(overrideCursorShape(), int(Qt::WaitCursor));
}

void tst_EditorPlugin::placementSceneEvents_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("endsMode");

    QTest::newRow("Escape pressed") << int(QEvent::KeyPress) << int(Qt::Key_Escape) << true;
    QTest::newRow("letter pressed") << int(QEvent::KeyPress) << int(Qt::Key_A) << false;
    QTest::newRow("Return pressed") << int(QEvent::KeyPress) << int(Qt::Key_Return) << false;
    QTest::newRow("Escape released") << int(QEvent::KeyRelease) << int(Qt::Key_Escape) << false;
    QTest::newRow("shortcut override for Escape")
        << int(QEvent::ShortcutOverride) << int(Qt::Key_Escape) << false;
}

void tst_EditorPlugin::placementSceneEvents()
{
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(bool, endsMode);

    Scene scene;
    OsmView view(nullptr, &scene);
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));
    startAddMode(&scene, Qt::CrossCursor);

    QKeyEvent event(QEvent::Type(type), key, Qt::NoModifier);
    QCoreApplication::sendEvent(&scene, &event);
    // The scene sees every key, Escape included.
    QCOMPARE(scene.keys(), type == QEvent::KeyPress ? QList<int>{key} : QList<int>{});
    QCOMPARE(QGuiApplication::overrideCursor() != nullptr, !endsMode);

    emit view.mouseRelease(QPointF(5, 6));
    QCoreApplication::processEvents();
    QCOMPARE(added.count(), endsMode ? 0 : 1);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_EditorPlugin::placementWithoutMapViewEndsOnlyOnEscape_data()
{
    QTest::addColumn<bool>("plainView");

    QTest::newRow("scene without views") << false;
    QTest::newRow("scene with a plain view") << true;
}

void tst_EditorPlugin::placementWithoutMapViewEndsOnlyOnEscape()
{
    QFETCH(bool, plainView);

    Scene scene;
    QScopedPointer<QGraphicsView> view(plainView ? new QGraphicsView(&scene) : nullptr);
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));
    ModalDriver driver;
    startAddMode(&scene, Qt::CrossCursor);
    QCoreApplication::processEvents();
    QVERIFY(driver.seen().isEmpty());
    QVERIFY(QGuiApplication::overrideCursor());

    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&scene, &letter);
    QVERIFY(QGuiApplication::overrideCursor());

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&scene, &escape);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(scene.keys(), QList<int>({Qt::Key_A, Qt::Key_Escape}));
    QCOMPARE(added.count(), 0);
}

// PythonQt needs the host's interpreter running when the close handler
// initialises it; a host without Python exists only with the project's layer.
#ifdef EDITOR2_WITH_PYTHONQT
#define SKIP_WITHOUT_PYTHON() QSKIP("the close handler needs the host's Python with PythonQt")
#else
#define SKIP_WITHOUT_PYTHON()
#endif

// With no interpreter there is nobody to ask, and the close goes through.
void tst_EditorPlugin::closeHandlerWithoutPythonLetsWindowClose()
{
    SKIP_WITHOUT_PYTHON();
    MainWindow mainWindow;
    mainWindow.show();
    QVERIFY(QMetaObject::invokeMethod(plugin(), "initCloseHandler"));
    QVERIFY(mainWindow.close());
    QCOMPARE(mainWindow.closeEvents(), 1);
    QVERIFY(!mainWindow.isVisible());
}

void tst_EditorPlugin::waitsForDialogUnderWay_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("object");
    QTest::addColumn<bool>("pick");    // the object dialog hidden for a position pick
    QTest::addColumn<QString>("then"); // "close" the main window or "add" a controller

    const char *const rows[][4] = {
        {"close: object dialog", "editObject", "light", "close"},
        // Hidden, the dialog does not block the main window.
        {"close: object dialog hidden for a pick", "editObject", "light", "close pick"},
        {"close: settings editor", "editUserSettings", "", "close"},
        {"close: Error box", "editObject", "plain", "close"},
        // One click on the map would end both.
        {"add: object dialog hidden for a pick", "editObject", "light", "add pick"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2])
                              << QByteArray(row[3]).endsWith(" pick")
                              << QString::fromLatin1(row[3]).section(QLatin1Char(' '), 0, 0);
}

// A close of the main window would lose the edit under way: it is refused, and
// a dialog hidden for a pick ends the pick and comes back. No placement mode
// starts during a pick.
void tst_EditorPlugin::waitsForDialogUnderWay()
{
    QFETCH(QString, entry);
    QFETCH(QString, object);
    QFETCH(bool, pick);
    QFETCH(QString, then);
    SKIP_WITHOUT_PYTHON();

    MainWindow mainWindow;
    mainWindow.show();
    QVERIFY(QMetaObject::invokeMethod(plugin(), "initCloseHandler"));
    QGraphicsScene scene;
    OsmView view(nullptr, &scene);
    Arvel::Project project(nullptr);
    auto *light = makeLight(&project);
    light->presetScene(&scene);
    QObject plain;
    QSignalSpy added(plugin(), SIGNAL(objectAdded(QPointF)));

    bool hidden = false;
    bool closed = false;
    bool shown = false;
    int cursor = -2;
    ModalDriver driver([&](QWidget *dialog) {
        if (pick) {
            press(*dialog, "selectPos");
            hidden = !dialog->isVisible();
        }
        if (then == QLatin1String("close")) {
            closed = mainWindow.close();
        } else {
            QTest::ignoreMessage(QtDebugMsg, "EditorPlugin - a position is picked: no placement");
            startAddMode(&scene, Qt::PointingHandCursor);
            emit view.mouseRelease(QPointF(1, 2));
            QCoreApplication::processEvents();
        }
        shown = dialog->isVisible();
        cursor = overrideCursorShape();
        ModalDriver::close(dialog);
    });
    invokeEntry(entry, nullptr, object == QLatin1String("light") ? light : &plain);

    QVERIFY(!driver.gaveUp());
    QCOMPARE(hidden, pick);
    QVERIFY(!closed);
    QCOMPARE(mainWindow.closeEvents(), 0);
    if (then == QLatin1String("close")) {
        QVERIFY(shown);
        QCOMPARE(cursor, -1); // gone with the pick
    } else {
        QCOMPARE(cursor, int(Qt::CrossCursor)); // the pick's, nothing pushed on it
        QCOMPARE(added.count(), 0);
    }
    // Once the dialog is over, the main window closes again.
    QVERIFY(mainWindow.close());
}

QTEST_MAIN(tst_EditorPlugin)
#include "tst_editorplugin.moc"
