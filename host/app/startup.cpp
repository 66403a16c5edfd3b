#include "startup.h"

#include "hostpaths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>

namespace Startup {

namespace {

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

// The host's options, described once for the parse that answers --help and
// --version without a display and for the full one.
struct CommandLine
{
    CommandLine()
        : help(parser.addHelpOption())
        , version(parser.addVersionOption())
        , screenshots(QStringLiteral("screenshots"),
                      QCoreApplication::translate(
                          "main", "Save a PNG of every dialog into <folder> and exit."),
                      QStringLiteral("folder"))
        , projectDir(QStringLiteral("project-dir"),
                     QCoreApplication::translate(
                         "main", "Keep the project in <folder> (the sample one on a first start)."),
                     QStringLiteral("folder"))
        , language(QStringLiteral("lang"),
                   QCoreApplication::translate(
                       "main", "Show the editor's dialogs in <language> (for example ru)."),
                   QStringLiteral("language"))
        , editIni(QStringLiteral("edit-ini"),
                  QCoreApplication::translate(
                      "main", "Show only the settings editor on <file>; exit with 0 when "
                              "it was accepted, 1 when it was cancelled, 2 when it could "
                              "not be shown."),
                  QStringLiteral("file"))
    {
        parser.setApplicationDescription(
            QCoreApplication::translate("main", "Reference host of the editor plug-in editor2."));
        for (const QCommandLineOption &option : {screenshots, projectDir, language, editIni})
            parser.addOption(option);
    }

    QCommandLineParser parser;
    const QCommandLineOption help;
    const QCommandLineOption version;
    const QCommandLineOption screenshots;
    const QCommandLineOption projectDir;
    const QCommandLineOption language;
    const QCommandLineOption editIni;
};

QtMessageHandler previousHandler = nullptr;

void dropSizeHintWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void setIdentity()
{
    QApplication::setOrganizationName(QStringLiteral("Arvel"));
    QApplication::setApplicationName(QStringLiteral("editor2-host"));
    QApplication::setApplicationVersion(QStringLiteral(EDITOR2_HOST_VERSION));
    QSettings::setDefaultFormat(QSettings::IniFormat);
}

QStringList installTranslations(QCoreApplication &app)
{
    // The plug-in's captions are translated by the host's translators, as in
    // the real application; its .qm files sit beside the host's own. Qt's
    // translations bring the standard buttons and Qt's own dialogs.
    const QString languageName = languageArgument(app.arguments());
    const QLocale locale = languageName.isEmpty() ? QLocale::system() : QLocale(languageName);
    const QString translations = HostPaths::translationsDir();
    const struct
    {
        const char *name;
        QString folder;
    } catalogues[] = {
        {"editor2", translations},
        {"editor2host", translations},
        {"qtbase", QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
    };
    QStringList loaded;
    for (const auto &catalogue : catalogues) {
        auto *translator = new QTranslator(&app);
        if (!translator->load(locale, QString::fromLatin1(catalogue.name), QStringLiteral("_"),
                              catalogue.folder)) {
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        loaded.append(translator->filePath());
    }
    return loaded;
}

bool asksForHelpOrVersion(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QLatin1String argument(argv[i]);
        if (argument == QLatin1String("--"))
            break;
        for (const char *name : {"-h", "--help", "-v", "--version"}) {
            if (argument == QLatin1String(name))
                return true;
        }
    }
    return false;
}

bool chooseOffscreenWithoutDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return false;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

void answerHelpOrVersion(QCoreApplication &app)
{
    // An option of Qt's GUI (-platform, -style) is not this parser's: then
    // the QApplication answers, with a display.
    CommandLine line;
    if (line.parser.parse(app.arguments())
        && (line.parser.isSet(line.help) || line.parser.isSet(line.version)))
        line.parser.process(app);
}

Options parseOptions(QApplication &app)
{
    CommandLine line;
    line.parser.process(app);

    Options options;
    options.tourMode = line.parser.isSet(line.screenshots)
                       || QGuiApplication::platformName() == QLatin1String("offscreen");
    options.screenshotFolder = line.parser.value(line.screenshots);
    options.projectFolder = line.parser.value(line.projectDir);
    options.editIni = line.parser.isSet(line.editIni);
    options.iniFile = line.parser.value(line.editIni);
    return options;
}

void quietOffscreenPlatform()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        previousHandler = qInstallMessageHandler(dropSizeHintWarnings);
}

QString prepareFolders(const Options &options, const QTemporaryDir &scratch)
{
    if (options.tourMode) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           scratch.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope,
                           scratch.filePath(QStringLiteral("system")));
    }
    if (!options.projectFolder.isEmpty())
        return options.projectFolder;
    return options.tourMode ? scratch.filePath(QStringLiteral("project"))
                            : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                  + QStringLiteral("/sample-project");
}

} // namespace Startup
