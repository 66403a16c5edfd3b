// The reference host: stands in for the desktop application that loads the
// editor plug-in, so that the plug-in can be seen and used. Without a display
// (or with --screenshots) it runs offscreen, saves a PNG of every dialog and
// exits.

#include "editorbridge.h"
#include "hostpython.h"
#include "hostsettings.h"
#include "hosttour.h"
#include "inieditmode.h"
#include "mainwindow.h"
#include "project.h"
#include "projectstore.h"
#include "screenshottour.h"
#include "startup.h"

#include <PythonQt.h>

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <memory>

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(sampletiles);
    Startup::setIdentity();
    if (Startup::asksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        Startup::installTranslations(app);
        Startup::answerHelpOrVersion(app);
    }
    const bool noDisplay = Startup::chooseOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    const QStringList loadedTranslations = Startup::installTranslations(app);
    const Startup::Options options = Startup::parseOptions(app);

    // The screenshot run says what it found, untranslated, so that an
    // install can be checked by a script.
    if (options.tourMode) {
        Startup::quietOffscreenPlatform();
        for (const QString &file : loadedTranslations)
            QTextStream(stdout) << "Translation: " << file << Qt::endl;
    }

    if (options.editIni) {
        // Offscreen nobody could answer the editor: it would wait for ever.
        if (noDisplay) {
            const QString message =
                QApplication::translate("main", "editor2-host: --edit-ini needs a display");
            QTextStream(stderr) << message << Qt::endl;
            return IniEditMode::NoEditor;
        }
        return IniEditMode::run(options.iniFile);
    }

    QTemporaryDir scratch;
    const QString projectFolder = Startup::prepareFolders(options, scratch);
    HostSettings::seedDefaults();

    // Python first: the plug-in expects the host's interpreter to run.
    auto python = std::make_unique<Arvel::HostPython>();
    if (!python->start())
        qWarning("editor2-host: Python is not available; console filters are not applied");
    // What Python prints also reaches the terminal, not only the console.
    QObject::connect(python.get(), &Arvel::HostPython::output, [](const QString &text, bool error) {
        QTextStream(error ? stderr : stdout) << text << Qt::flush;
    });

    // The project kept in its folder; the sample on a first start.
    QString projectError;
    std::unique_ptr<Arvel::Project> project(
        Arvel::ProjectStore::open(projectFolder, &projectError));
    if (!projectError.isEmpty())
        QTextStream(stderr) << projectError << Qt::endl;
    python->attachProject(project.get());

    EditorBridge editor;
    if (!editor.load())
        qWarning("editor2-host: cannot load the editor plug-in: %s",
                 qPrintable(editor.errorString()));
    else if (options.tourMode)
        QTextStream(stdout) << "Plug-in: " << editor.fileName() << Qt::endl;

    auto window = std::make_unique<MainWindow>(project.get(), &editor, python.get());
    window->show();
    editor.initCloseHandler();
    if (!projectError.isEmpty() && !options.tourMode) {
        MainWindow *shown = window.get();
        QTimer::singleShot(0, shown, [shown, projectError] {
            QMessageBox::warning(shown, QApplication::translate("main", "Project"), projectError);
        });
    }

    std::unique_ptr<ScreenshotTour> tour;
    if (options.tourMode)
        tour = HostTour::start(window.get(), options.screenshotFolder);

    const int result = app.exec();

    tour.reset();
    window.reset();
    project.reset();
    python.reset();
    PythonQt::cleanup();
    return result;
}
