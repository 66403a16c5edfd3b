// The plug-in's close handler with a live Python: the host's module "actions"
// decides through closeProject() whether the main window may close. The
// plug-in is loaded with QPluginLoader and driven by name; Python is started
// through the layer the host uses.

#include "pythonfixture.h"
#include "standinhost.h"

#include <PythonQt.h>

#include <QApplication>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

const char PluginPath[] = EDITOR2_PLUGIN_DIR "/editor2";

} // namespace

class tst_CloseHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void closeProjectDecides_data();
    void closeProjectDecides();
    void otherEventsPass();
    void withoutMainWindowNothingIsInstalled();

private:
    void defineActions(const QString &body);
    QObject *plugin() { return m_loader.instance(); }

    QPluginLoader m_loader;
};

void tst_CloseHandler::initTestCase()
{
    if (!PythonFixture::start())
        QSKIP("The Python layer provides no interpreter yet");
    m_loader.setFileName(QString::fromLatin1(PluginPath));
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    QVERIFY(plugin());
}

// Every case brings its own "actions" module, or none.
void tst_CloseHandler::init()
{
    PythonQt::self()->evalScript(PythonQt::self()->getMainModule(),
                                 QStringLiteral("import sys\nsys.modules.pop('actions', None)\n"),
                                 Py_file_input);
}

void tst_CloseHandler::cleanupTestCase()
{
    PythonFixture::stop();
}

void tst_CloseHandler::defineActions(const QString &body)
{
    PythonQt::self()->createModuleFromScript(QStringLiteral("actions"), body);
}

void tst_CloseHandler::closeProjectDecides_data()
{
    QTest::addColumn<QString>("actions"); // a null string: no module at all
    QTest::addColumn<bool>("closes");
    // The type of the one Python error printed, if any; "?" when the layers
    // differ (PythonQt cannot convert the result, the project's layer can).
    QTest::addColumn<QString>("printed");

    const auto returning = [](const char *value) {
        return QStringLiteral("def closeProject():\n    return %1\n").arg(QLatin1String(value));
    };
    QTest::newRow("True") << returning("True") << true << "";
    QTest::newRow("a non-zero number") << returning("1") << true << "";
    QTest::newRow("False") << returning("False") << false << "";
    QTest::newRow("None") << returning("None") << false << "";
    QTest::newRow("exception") << QStringLiteral(
        "def closeProject():\n    raise RuntimeError('busy')\n")
                               << false << "RuntimeError";
    // Neither a failed import nor a missing name may leave an error pending.
    QTest::newRow("module without closeProject")
        << QStringLiteral("other = 1\n") << false << "ImportError";
    QTest::newRow("no actions module") << QString() << false << "ModuleNotFoundError";
    QTest::newRow("closeProject removes itself")
        << QStringLiteral("def closeProject():\n    import __main__\n"
                          "    del __main__.closeProject\n    return True\n")
        << true << "";
    // Looks like a sequence but has no length.
    QTest::newRow("result without a conversion")
        << QStringLiteral("class Answer:\n    def __getitem__(self, i):\n        return 1\n"
                          "def closeProject():\n    return Answer()\n")
        << false << "?";
}

void tst_CloseHandler::closeProjectDecides()
{
    QFETCH(QString, actions);
    QFETCH(bool, closes);
    QFETCH(QString, printed);

    if (!actions.isNull())
        defineActions(actions);
    MainWindow mainWindow;
    mainWindow.show();
    QVERIFY(QMetaObject::invokeMethod(plugin(), "initCloseHandler"));

    PythonQt *python = PythonQt::self();
    QSignalSpy errorOutput(python, &PythonQt::pythonStdErr);
    QCOMPARE(mainWindow.close(), closes);
    QCOMPARE(mainWindow.isVisible(), !closes);
    // A refused close never reaches the window.
    QCOMPARE(mainWindow.closeEvents(), closes ? 1 : 0);

    // The host's next evaluation works, and no error is left for it.
    PythonQtObjectPtr mainModule = python->getMainModule();
    QCOMPARE(python->evalScript(mainModule, QStringLiteral("6 * 7"), Py_eval_input), QVariant(42));
    QVERIFY(!python->hadError());
    QVERIFY(!python->handleError());

    QString text;
    for (const QList<QVariant> &chunk : qAsConst(errorOutput))
        text += chunk.at(0).toString();
    QStringList types;
    const QRegularExpression errorLine(QStringLiteral("^(\\w+): "),
                                       QRegularExpression::MultilineOption);
    for (auto it = errorLine.globalMatch(text); it.hasNext();)
        types << it.next().captured(1);
    if (printed != QLatin1String("?"))
        QCOMPARE(types, printed.isEmpty() ? QStringList() : QStringList(printed));

    // The import leaves nothing behind in the main module.
    const QVariant left =
        PythonQt::self()->evalScript(PythonQt::self()->getMainModule(),
                                     QStringLiteral("'closeProject' in globals()"), Py_eval_input);
    QVERIFY(left.isValid());
    QCOMPARE(left.toBool(), false);
}

void tst_CloseHandler::otherEventsPass()
{
    defineActions(QStringLiteral("def closeProject():\n    return False\n"));
    MainWindow mainWindow;
    mainWindow.show();
    QVERIFY(QMetaObject::invokeMethod(plugin(), "initCloseHandler"));

    QTest::keyClick(&mainWindow, Qt::Key_Escape);
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&mainWindow, &user);
    QCOMPARE(mainWindow.keyPresses(), 1);
    QCOMPARE(mainWindow.userEvents(), 1);

    QVERIFY(!mainWindow.close());
    QCOMPARE(mainWindow.closeEvents(), 0);
}

// The handler is bound to the main window that exists at the call; one that
// comes later closes without asking Python.
void tst_CloseHandler::withoutMainWindowNothingIsInstalled()
{
    defineActions(QStringLiteral("def closeProject():\n    return False\n"));
    QVERIFY(QMetaObject::invokeMethod(plugin(), "initCloseHandler"));

    MainWindow mainWindow;
    mainWindow.show();
    QVERIFY(mainWindow.close());
    QCOMPARE(mainWindow.closeEvents(), 1);
}

QTEST_MAIN(tst_CloseHandler)
#include "tst_closehandler.moc"
