// The reference host: stands in for the desktop application that loads the
// editor plug-in, so that the plug-in can be seen and used. Without a display
// (or with --screenshots) it saves a PNG of every dialog and exits.

#include "crossview.h"
#include "editorbridge.h"
#include "hostpaths.h"
#include "hostpython.h"
#include "inieditmode.h"
#include "light.h"
#include "mainwindow.h"
#include "project.h"
#include "projectstore.h"
#include "screenshottour.h"

#include <PythonQt.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <memory>

namespace {

void addTourSteps(ScreenshotTour *tour, MainWindow *window)
{
    Arvel::Project *project = window->project();
    Arvel::Light *first = project->lights().value(0);

    tour->addWindow(QStringLiteral("main-window.png"), window, 2500, [window, first] {
        // Show the preview and a selection, so that the picture shows them.
        window->selectLight(first);
        window->crossView()->setLight(first);
        window->crossView()->previewPhase(1);
    });
    tour->addDialog(
        QStringLiteral("object-dialog.png"),
        [window, first] {
            window->crossView()->previewPhase(-1);
            window->editLight(first);
        },
        ScreenshotTour::Close::DoneZero);
    // The object dialog's own editors, opened from it as a user would: a click
    // on its button once it shows; the click returns when the tour has closed
    // the editor, and the object dialog is closed after it.
    const auto fromObjectDialog = [window, first](const QString &button) {
        return [window, first, button] {
            QTimer::singleShot(200, window, [button] {
                QPointer<QDialog> dialog =
                    qobject_cast<QDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                if (auto *push = dialog->findChild<QPushButton *>(button))
                    push->click();
                if (dialog)
                    dialog->reject();
            });
            window->editLight(first);
        };
    };
    tour->addDialog(QStringLiteral("events-mask.png"),
                    fromObjectDialog(QStringLiteral("changeEventsMask")));
    tour->addDialog(QStringLiteral("custom-properties.png"),
                    fromObjectDialog(QStringLiteral("additionalProps")));
    tour->addDialog(QStringLiteral("project-dialog.png"), [window] { window->editProject(); });
    // The settings editor's tree opens collapsed; the pictures show it open.
    const auto expandingSettings = [window](auto open) {
        return [window, open] {
            QTimer::singleShot(100, window, [] {
                QWidget *dialog = QApplication::activeModalWidget();
                if (auto *tree = dialog
                                     ? dialog->findChild<QTreeWidget *>(QStringLiteral("propTree"))
                                     : nullptr)
                    tree->expandAll();
            });
            open();
        };
    };
    tour->addDialog(QStringLiteral("settings-dialog.png"),
                    expandingSettings([window] { window->editUserSettings(); }));
    tour->addDialog(QStringLiteral("ini-file-dialog.png"), expandingSettings([window, project] {
                        window->openIniFile(project->fileName());
                    }));
    tour->addDialog(QStringLiteral("map-properties.png"),
                    [window] { window->editMapProperties(); });
    tour->addDialog(QStringLiteral("presets.png"), [window] { window->editPresets(); });
}

// The value of --lang (as "--lang ru" or "--lang=ru"), read before the
// options are parsed; empty when not given.
QString languageArgument(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--lang") || argument == QLatin1String("-lang"))
            return arguments.value(i + 1);
        for (const QLatin1String prefix : {QLatin1String("--lang="), QLatin1String("-lang=")}) {
            if (argument.startsWith(prefix))
                return argument.mid(prefix.size());
        }
    }
    return QString();
}

// Settings of the host itself, so that its settings editor has something to show.
void seedHostSettings()
{
    QSettings settings;
    if (!settings.contains(QStringLiteral("Console/intervalMs")))
        settings.setValue(QStringLiteral("Console/intervalMs"), 350);
    if (!settings.contains(QStringLiteral("Console/maximumLines")))
        settings.setValue(QStringLiteral("Console/maximumLines"), 2000);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setOrganizationName(QStringLiteral("Arvel"));
    QApplication::setApplicationName(QStringLiteral("editor2-host"));
    QApplication::setApplicationVersion(QStringLiteral("2.3.41"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication app(argc, argv);

    // The plug-in's captions are translated by the host's translators, as in
    // the real application; its .qm files sit beside the host's own. Qt's
    // translations bring the standard buttons and Qt's own dialogs. They are
    // installed before the options are parsed, so that --help is translated too.
    const QString languageName = languageArgument(app.arguments());
    const QLocale locale = languageName.isEmpty() ? QLocale::system() : QLocale(languageName);
    const QString translations = HostPaths::translationsDir();
    QTranslator editorTranslator;
    QTranslator hostTranslator;
    QTranslator qtTranslator;
    const struct
    {
        QTranslator *translator;
        const char *name;
        QString folder;
    } catalogues[] = {
        {&editorTranslator, "editor2", translations},
        {&hostTranslator, "editor2host", translations},
        {&qtTranslator, "qtbase", QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
    };
    QStringList loadedTranslations;
    for (const auto &catalogue : catalogues) {
        if (!catalogue.translator->load(locale, QString::fromLatin1(catalogue.name),
                                        QStringLiteral("_"), catalogue.folder))
            continue;
        QCoreApplication::installTranslator(catalogue.translator);
        loadedTranslations.append(catalogue.translator->filePath());
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Reference host of the editor plug-in editor2."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QApplication::translate("main", "Save a PNG of every dialog into <folder> and exit."),
        QStringLiteral("folder"));
    const QCommandLineOption projectDir(
        QStringLiteral("project-dir"),
        QApplication::translate("main",
                                "Keep the project in <folder> (the sample one on a first start)."),
        QStringLiteral("folder"));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QApplication::translate("main",
                                "Show the editor's dialogs in <language> (for example ru)."),
        QStringLiteral("language"));
    parser.addOption(screenshots);
    parser.addOption(projectDir);
    parser.addOption(language);
    const QCommandLineOption editIni(
        QStringLiteral("edit-ini"),
        QApplication::translate("main", "Show only the settings editor on <file>; exit with 0 when "
                                        "it was accepted, 1 when it was cancelled, 2 when it could "
                                        "not be shown."),
        QStringLiteral("file"));
    parser.addOption(editIni);
    parser.process(app);

    const bool tourMode =
        parser.isSet(screenshots) || QGuiApplication::platformName() == QLatin1String("offscreen");

    // The screenshot run says what it found, untranslated, so that an
    // install can be checked by a script.
    if (tourMode) {
        for (const QString &file : qAsConst(loadedTranslations))
            QTextStream(stdout) << "Translation: " << file << Qt::endl;
    }

    if (parser.isSet(editIni))
        return IniEditMode::run(parser.value(editIni));

    // A screenshot run works on fresh files, never on the user's own.
    QTemporaryDir scratch;
    if (tourMode) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           scratch.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope,
                           scratch.filePath(QStringLiteral("system")));
    }
    QString projectFolder = parser.value(projectDir);
    if (projectFolder.isEmpty()) {
        projectFolder = tourMode ? scratch.filePath(QStringLiteral("project"))
                                 : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                       + QStringLiteral("/sample-project");
    }
    seedHostSettings();

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
    else if (tourMode)
        QTextStream(stdout) << "Plug-in: " << editor.fileName() << Qt::endl;

    auto window = std::make_unique<MainWindow>(project.get(), &editor, python.get());
    window->show();
    editor.initCloseHandler();
    if (!projectError.isEmpty() && !tourMode) {
        MainWindow *shown = window.get();
        QTimer::singleShot(0, shown, [shown, projectError] {
            QMessageBox::warning(shown, QApplication::translate("main", "Project"), projectError);
        });
    }

    std::unique_ptr<ScreenshotTour> tour;
    if (tourMode) {
        QString folder = parser.value(screenshots);
        if (folder.isEmpty())
            folder = QDir::current().absoluteFilePath(QStringLiteral("screenshots"));
        window->resize(1280, 820);
        tour = std::make_unique<ScreenshotTour>(folder);
        addTourSteps(tour.get(), window.get());
        QObject::connect(tour.get(), &ScreenshotTour::finished, &app,
                         [](int failures) { QCoreApplication::exit(failures == 0 ? 0 : 1); });
        QTimer::singleShot(0, tour.get(), &ScreenshotTour::start);
    }

    const int result = app.exec();

    tour.reset();
    window.reset();
    project.reset();
    python.reset();
    PythonQt::cleanup();
    return result;
}
