// Closing the main window with unsaved changes, the whole way: the plug-in's
// close handler (loaded as the host loads it) calls the host's Python action
// actions.closeProject(), which asks the question and saves. And the host's
// main window saving over a file that another program changed, and its hint
// while the object dialog is hidden for a pick on the map.

#include "closequestion.h"
#include "editorbridge.h"
#include "filebytes.h"
#include "formparts.h"
#include "hostpython.h"
#include "light.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "osmview.h"
#include "project.h"
#include "projectstore.h"

#include <PythonQt.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPluginLoader>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Arvel;

namespace {

const char PluginPath[] = EDITOR2_PLUGIN_DIR "/editor2";

QString savedTitle(const QString &folder)
{
    QSettings settings(ProjectStore::fileName(folder), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    return settings.value(QStringLiteral("Project/title")).toString();
}

// Accepts the plug-in's dialog of `entry` on the project, after changing a
// value in it when `edit`, and marks the project as the host does. Returns
// the class of the window it saw.
QString acceptDialog(QObject *plugin, Project *project, const QByteArray &entry, bool edit)
{
    ModalDriver driver([edit](QWidget *dialog) {
        if (auto *descr = part<QLineEdit>(dialog, "descr"); descr && edit)
            descr->setText(descr->text() + QStringLiteral(" (north)"));
        if (auto *zoom = part<QSpinBox>(dialog, "minZoom"); zoom && edit)
            zoom->setValue(zoom->value() + 1);
        if (auto *presets = part<QTableWidget>(dialog, "presets"); presets && edit) {
            presets->selectRow(presets->rowCount() - 1);
            press(*dialog, "remove");
        }
        ModalDriver::press(dialog, QDialogButtonBox::Ok);
    });
    if (entry == "editObject") {
        Light *light = project->lights().value(0);
        const QByteArray record = ProjectStore::lightRecord(light, project->baseDir());
        QMetaObject::invokeMethod(plugin, entry, Q_ARG(QObject *, light), Q_ARG(bool, false));
        if (ProjectStore::lightRecord(light, project->baseDir()) != record)
            project->setChanged(true);
    } else {
        project->editSettings([plugin, &entry](QSettings *settings) {
            if (entry == "editPresets")
                QMetaObject::invokeMethod(plugin, entry, Q_ARG(QSettings *, settings),
                                          Q_ARG(QGraphicsView *, nullptr));
            else
                QMetaObject::invokeMethod(plugin, entry, Q_ARG(QSettings *, settings),
                                          Q_ARG(QObject *, nullptr));
        });
    }
    return driver.seen().size() == 1 && !driver.gaveUp() ? driver.seen().first().className
                                                         : QString();
}

} // namespace

class tst_CloseQuestion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void answerDecides_data();
    void answerDecides();
    void userIsAskedWithThreeButtons();
    void editedControllerSurvivesSaveAndRestart();
    void fileChangedOnDiskIsOverwrittenOnlyWhenAsked_data();
    void fileChangedOnDiskIsOverwrittenOnlyWhenAsked();
    void pickingAPositionShowsAHintUntilTheDialogIsBack();

private:
    // Every test leaves the host's Python without its project and its answer.
    void detachProject()
    {
        m_python->attachProject(nullptr);
        m_python->closeQuestion()->setAnswer({});
    }

    QPluginLoader m_loader;
    std::unique_ptr<HostPython> m_python;
};

void tst_CloseQuestion::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the main window keeps its layout there
    m_python = std::make_unique<HostPython>();
    QVERIFY(m_python->start());
    m_loader.setFileName(QString::fromLatin1(PluginPath));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
}

void tst_CloseQuestion::cleanupTestCase()
{
    m_python.reset();
    PythonQt::cleanup();
}

void tst_CloseQuestion::answerDecides_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    // The plug-in's entry point whose dialog is accepted first, changing
    // the project when `changed`; empty: the project is only marked.
    QTest::addColumn<QByteArray>("dialog");

    const int save = QMessageBox::Save;
    const int cancel = QMessageBox::Cancel;
    QTest::newRow("an unchanged project closes unasked")
        << false << cancel << true << false << true << false << QByteArray();
    QTest::newRow("Save saves, then closes")
        << true << save << true << true << true << true << QByteArray();
    QTest::newRow("Discard closes without saving")
        << true << int(QMessageBox::Discard) << true << true << true << false << QByteArray();
    QTest::newRow("Cancel keeps the window")
        << true << cancel << true << true << false << false << QByteArray();
    // Closing would lose the changes that could not be written.
    QTest::newRow("a failed save keeps the window")
        << true << save << false << true << false << false << QByteArray();
    QTest::newRow("object dialog accepted alone, closes unasked")
        << false << cancel << true << false << true << false << QByteArray("editObject");
    QTest::newRow("a new description is saved")
        << true << save << true << true << true << true << QByteArray("editObject");
    QTest::newRow("map properties accepted alone, closes unasked")
        << false << cancel << true << false << true << false << QByteArray("editOsmProperies");
    QTest::newRow("a new zoom limit is saved")
        << true << save << true << true << true << true << QByteArray("editOsmProperies");
    QTest::newRow("Discard drops a new zoom limit")
        << true << int(QMessageBox::Discard) << true << true << true << false
        << QByteArray("editOsmProperies");
    QTest::newRow("presets accepted alone, closes unasked")
        << false << cancel << true << false << true << false << QByteArray("editPresets");
    QTest::newRow("a removed preset is gone from the file")
        << true << save << true << true << true << true << QByteArray("editPresets");
}

void tst_CloseQuestion::answerDecides()
{
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, writable);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    QFETCH(QByteArray, dialog);

    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("project"));
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString before = savedTitle(folder);
    const QByteArray file = fileBytes(ProjectStore::fileName(folder));
    project->setTitle(QStringLiteral("Edited"));
    if (dialog.isEmpty())
        project->setChanged(changed);
    if (!writable) {
        QVERIFY(QFile::remove(ProjectStore::fileName(folder)));
        QVERIFY(QDir().mkpath(ProjectStore::fileName(folder)));
    }

    m_python->attachProject(project.get());
    const auto detach = qScopeGuard([this] { detachProject(); });
    int questions = 0;
    m_python->closeQuestion()->setAnswer([&questions, answer] {
        ++questions;
        return QMessageBox::StandardButton(answer);
    });
    QMainWindow window;
    window.show();
    QVERIFY(QMetaObject::invokeMethod(m_loader.instance(), "initCloseHandler"));
    if (!dialog.isEmpty()) {
        QVERIFY(acceptDialog(m_loader.instance(), project.get(), dialog, changed).endsWith("Dlg"));
        QCOMPARE(project->isChanged(), changed);
        QCOMPARE(fileBytes(ProjectStore::fileName(folder)), file); // only Save writes
    }

    QCOMPARE(window.close(), closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(questions, asked ? 1 : 0);
    QCOMPARE(project->isChanged(), changed && !saved);
    if (writable)
        QCOMPARE(savedTitle(folder), saved ? QStringLiteral("Edited") : before);
    if (writable && !saved)
        QCOMPARE(fileBytes(ProjectStore::fileName(folder)), file);
    else if (!writable)
        QVERIFY(!m_python->closeQuestion()->lastError().isEmpty());
    if (saved) {
        // Opened again, the file holds the settings as the dialogs left them.
        QTemporaryDir copy;
        QVERIFY(QFile::copy(ProjectStore::fileName(folder), ProjectStore::fileName(copy.path())));
        std::unique_ptr<Project> opened(ProjectStore::open(copy.path(), &error));
        QCOMPARE(opened->settings()->allKeys(), project->settings()->allKeys());
    }
}

// Without an answer given by code the user gets a message box; Cancel there
// keeps the window too.
void tst_CloseQuestion::userIsAskedWithThreeButtons()
{
    QTemporaryDir root;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(root.path(), &error));
    project->setChanged(true);
    m_python->attachProject(project.get());
    const auto detach = qScopeGuard([this] { detachProject(); });
    QMainWindow window;
    window.show();
    QVERIFY(QMetaObject::invokeMethod(m_loader.instance(), "initCloseHandler"));

    ModalDriver driver([](QWidget *window) {
        if (auto *box = qobject_cast<QMessageBox *>(window);
            box && box->button(QMessageBox::Cancel))
            box->button(QMessageBox::Cancel)->click();
        else
            ModalDriver::close(window);
    });
    QVERIFY(!window.close());
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().text, QStringLiteral("Save changes to the project?"));
    QCOMPARE(driver.seen().first().buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QVERIFY(window.isVisible());
    QVERIFY(project->isChanged());
}

// What a user does first: edit a controller in the plug-in's object dialog,
// quit, save, start again.
void tst_CloseQuestion::editedControllerSurvivesSaveAndRestart()
{
    QTemporaryDir root;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(root.path(), &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    Light *light = project->lights().value(0);
    QVERIFY(light);
    const int id = light->id();
    m_python->attachProject(project.get());
    auto detach = qScopeGuard([this] { detachProject(); });
    m_python->closeQuestion()->setAnswer([] { return QMessageBox::Save; });
    QMainWindow window;
    window.show();
    QVERIFY(QMetaObject::invokeMethod(m_loader.instance(), "initCloseHandler"));

    ModalDriver driver([](QWidget *dialog) {
        if (auto *descr = part<QLineEdit>(dialog, "descr"))
            descr->setText(QStringLiteral("ул. Новая – пр. Мира"));
        ModalDriver::press(dialog, QDialogButtonBox::Ok);
    });
    bool edited = false;
    QVERIFY(QMetaObject::invokeMethod(m_loader.instance(), "editObject", Q_RETURN_ARG(bool, edited),
                                      Q_ARG(QObject *, light), Q_ARG(bool, false)));
    QVERIFY(edited);
    project->setChanged(true); // as the host does on objectEdited
    QVERIFY(window.close());
    detach.dismiss();
    detachProject();
    project.reset();

    QTemporaryDir restarted;
    QVERIFY(
        QFile::copy(ProjectStore::fileName(root.path()), ProjectStore::fileName(restarted.path())));
    project.reset(ProjectStore::open(restarted.path(), &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(project->light(id));
    QCOMPARE(project->light(id)->description(), QStringLiteral("ул. Новая – пр. Мира"));
}

void tst_CloseQuestion::fileChangedOnDiskIsOverwrittenOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("closing");   // the window is closed, Save answered; else Save
    QTest::addColumn<QString>("button"); // pressed in the question; empty: its default
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written"); // the project replaced the other program's file
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("unsaved");

    QTest::newRow("Save, the default Cancel writes nothing")
        << false << QString() << 1 << false << "Edited here" << true;
    QTest::newRow("Save, Overwrite writes the project")
        << false << "Overwrite" << 1 << true << "Edited here" << false;
    QTest::newRow("Save, Reload takes the file as it is")
        << false << "Reload" << 1 << false << "Edited elsewhere" << false;
    QTest::newRow("closing with Save keeps the file and the window")
        << true << QString() << 0 << false << "Edited here" << true;
}

// Another program changes the title and adds a section while the host runs;
// then the project is changed in the host and saved.
void tst_CloseQuestion::fileChangedOnDiskIsOverwrittenOnlyWhenAsked()
{
    QFETCH(bool, closing);
    QFETCH(QString, button);
    QFETCH(int, questions);
    QFETCH(bool, written);
    QFETCH(QString, title);
    QFETCH(bool, unsaved);

    QTemporaryDir root;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(root.path(), &error));
    m_python->attachProject(project.get());
    const auto detach = qScopeGuard([this] { detachProject(); });
    m_python->closeQuestion()->setAnswer([] { return QMessageBox::Save; });
    EditorBridge editor;
    QVERIFY(editor.load());
    auto window = std::make_unique<MainWindow>(project.get(), &editor, m_python.get());
    window->show();
    QVERIFY(editor.initCloseHandler());

    const QString file = ProjectStore::fileName(root.path());
    QByteArray other = fileBytes(file).replace("title=Sample project", "title=Edited elsewhere");
    other += "\n[Other]\nkey=1\n";
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(other) == other.size() && out.flush());
    project->setTitle(QStringLiteral("Edited here"));
    project->setChanged(true);

    ModalDriver driver([button](QWidget *question) {
        auto *box = qobject_cast<QMessageBox *>(question);
        const QList<QAbstractButton *> choices = box ? box->buttons() : QList<QAbstractButton *>();
        for (QAbstractButton *choice : choices) {
            if (choice->text().remove(QLatin1Char('&')) == button)
                return choice->click();
        }
        box ? box->defaultButton()->click() : ModalDriver::close(question);
    });
    QCOMPARE(closing ? window->close() : window->saveProject(), !unsaved);
    QCOMPARE(driver.seen().size(), questions);
    QCOMPARE(fileBytes(file) == other, !written);
    QCOMPARE(project->title(), title);
    QCOMPARE(project->isChanged(), unsaved);
    QVERIFY(window->isVisible());
    if (!unsaved) { // the host wrote or read the file: the next Save asks nothing
        project->setChanged(true);
        QVERIFY(window->saveProject());
        QCOMPARE(driver.seen().size(), questions);
    }

    // Closed with a controller selected, the window's destructor runs while
    // the scene removes the selected marker: nothing of the window may run
    // then (the sanitizer build stops on it).
    window->selectLight(project->lights().value(0));
    m_python->closeQuestion()->setAnswer([] { return QMessageBox::Discard; });
    QVERIFY(window->close());
    window.reset();
}

// "select" in the object dialog hides it for a click on the map: the status
// bar says so, with the map ready for Escape, until the dialog is back.
void tst_CloseQuestion::pickingAPositionShowsAHintUntilTheDialogIsBack()
{
    QTemporaryDir root;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(root.path(), &error));
    EditorBridge editor;
    QVERIFY(editor.load());
    MainWindow window(project.get(), &editor, m_python.get());
    window.show();
    QStringList hints; // while the dialog is hidden, then once it is back
    bool mapHasKeys = false;
    QPointer<QWidget> dialog;
    QTimer back;
    back.callOnTimeout([&] {
        if (dialog && dialog->isVisible() && hints.size() == 1) {
            hints << window.statusBar()->currentMessage();
            ModalDriver::press(dialog, QDialogButtonBox::Cancel);
        }
    });
    ModalDriver driver([&](QWidget *shown) {
        dialog = shown;
        press(*shown, "selectPos");
        QTimer::singleShot(0, &window, [&] {
            hints << window.statusBar()->currentMessage();
            mapHasKeys = window.focusWidget() == window.mapView();
            QTest::mouseClick(window.mapView()->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
            back.start(10);
        });
    });
    part<QWidget>(window, "consoleText")->setFocus();
    window.editLight(project->lights().value(0));
    QCOMPARE(hints.size(), 2);
    QVERIFY2(hints.first().contains(QStringLiteral("on the map")), qPrintable(hints.first()));
    QVERIFY(mapHasKeys);
    QCOMPARE(hints.last(), QString());
}

QTEST_MAIN(tst_CloseQuestion)

#include "tst_closequestion.moc"
