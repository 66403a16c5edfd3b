#pragma once

#include <QString>
#include <QStringList>

class QApplication;
class QCoreApplication;
class QTemporaryDir;

// The steps of the host's start before any window: its name, the
// translations, the command line and the folders it works on.
namespace Startup {

struct Options
{
    // A run without a display, or with --screenshots: pictures, then exit.
    bool tourMode = false;
    QString screenshotFolder;
    QString projectFolder; // as given; empty for the default
    bool editIni = false;
    QString iniFile;
};

// Organisation, program name, version and the INI format of its settings;
// before the application object is made.
void setIdentity();

// True when the command line asks for --help or --version, which are
// answered with a QCoreApplication: they need no display.
bool asksForHelpOrVersion(int argc, char **argv);

// Without a display (neither DISPLAY nor WAYLAND_DISPLAY) and no platform
// chosen in QT_QPA_PLATFORM, the host runs on Qt's offscreen platform instead
// of aborting; true when it chose it. Before the QApplication is made.
bool chooseOffscreenWithoutDisplay();

// The plug-in's, the host's and Qt's translations for --lang, or for the
// system's language; installed before the options are parsed, so that
// --help is translated too. Returns the files loaded.
QStringList installTranslations(QCoreApplication &app);

// Prints the help or the version and exits, when the command line asks for
// one and holds nothing else this application cannot read; otherwise returns.
void answerHelpOrVersion(QCoreApplication &app);

// Parses the command line; exits the program on --help, --version and errors.
Options parseOptions(QApplication &app);

// Qt's offscreen platform warns on every window shown that it cannot pass
// size hints on; a screenshot run drops that one warning.
void quietOffscreenPlatform();

// The project folder to work on. A screenshot run works on fresh files in
// `scratch`, never on the user's own, and sends the user's and the system's
// settings there too.
QString prepareFolders(const Options &options, const QTemporaryDir &scratch);

} // namespace Startup
