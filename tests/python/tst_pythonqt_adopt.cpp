// The host starts Python itself; the layer adopts that interpreter and leaves
// its finalisation to the host.
#include <Python.h>

#include "PythonQt.h"

#include <QSignalSpy>
#include <QtTest>

class Counter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count MEMBER m_count)

public:
    int m_count = 0;
};

class tst_PythonQtAdopt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usesTheHostInterpreter();
    void keepsPythonsOwnStreams();
    void worksWhateverTheHostDidWithTheLock_data();
    void worksWhateverTheHostDidWithTheLock();
    void handlesAnErrorLeftPending_data();
    void handlesAnErrorLeftPending();
    void redirectsOnlyWhileItLives();
    void survivesTheHostFinalising();

private:
    // Runs `code` through the C API, as the host would.
    static bool hostRuns(const char *code) { return PyRun_SimpleString(code) == 0; }

    PythonQtObjectPtr m_main;
};

void tst_PythonQtAdopt::initTestCase()
{
    Py_InitializeEx(0);
    QVERIFY(hostRuns("import io, sys\n"
                     "host_marker = 'set by the host'\n"
                     "host_err = io.StringIO()\n"
                     "sys.stderr = host_err\n"));
    PythonQt::init(PythonQt::PythonAlreadyInitialized);
    QVERIFY(PythonQt::self());
    m_main = PythonQt::self()->getMainModule();
    QVERIFY(!m_main.isNull());
}

void tst_PythonQtAdopt::usesTheHostInterpreter()
{
    QCOMPARE(m_main.evalScript("host_marker", Py_eval_input), QVariant("set by the host"));
    m_main.evalScript("layer_marker = 42\n");
    QVERIFY(hostRuns("assert layer_marker == 42\n"));
}

void tst_PythonQtAdopt::keepsPythonsOwnStreams()
{
    QSignalSpy out(PythonQt::self(), &PythonQt::pythonStdOut);
    QSignalSpy err(PythonQt::self(), &PythonQt::pythonStdErr);
    QCOMPARE(m_main.evalScript("type(sys.stdout).__name__", Py_eval_input),
             QVariant("TextIOWrapper"));
    m_main.evalScript("raise ValueError('to the host')\n");
    QVERIFY(PythonQt::self()->hadError());
    QVERIFY(m_main.evalScript("host_err.getvalue()", Py_eval_input)
                .toString()
                .contains("ValueError: to the host"));
    QCOMPARE(out.count(), 0);
    QCOMPARE(err.count(), 0);
}

void tst_PythonQtAdopt::worksWhateverTheHostDidWithTheLock_data()
{
    QTest::addColumn<bool>("release");
    QTest::newRow("lock held by the host") << false;
    QTest::newRow("lock released by the host") << true;
}

void tst_PythonQtAdopt::worksWhateverTheHostDidWithTheLock()
{
    QFETCH(bool, release);

    PyThreadState *state = release ? PyEval_SaveThread() : nullptr;
    PythonQt *python = PythonQt::self();
    Counter counter;
    counter.m_count = 2;
    python->addObject(m_main, "counter", &counter);
    m_main.evalScript("def bump(by):\n    counter.count += by\n    return counter.count\n");
    QCOMPARE(m_main.call("bump", {3}), QVariant(5));
    QCOMPARE(counter.m_count, 5);
    QCOMPARE(python->getVariable(m_main, "counter.count"), QVariant(5));
    QVERIFY(!python->hadError());
    QVERIFY(!m_main.evalScript("counter.nothing", Py_eval_input).isValid());
    QVERIFY(python->hadError());
    python->removeVariable(m_main, "counter");
    {
        PythonQtObjectPtr copy = m_main;
        QCOMPARE(copy, m_main);
    }
    if (state)
        PyEval_RestoreThread(state);
    QVERIFY(hostRuns("assert 'counter' not in globals()\n"));
}

void tst_PythonQtAdopt::handlesAnErrorLeftPending_data()
{
    QTest::addColumn<QString>("code"); // empty: no error pending
    QTest::addColumn<bool>("printStack");
    QTest::addColumn<QString>("printed");

    QTest::newRow("nothing pending") << "" << true << "";
    QTest::newRow("error with its stack")
        << "(lambda: 1 / 0)()" << true << "Traceback (most recent call last)";
    QTest::newRow("error without its stack") << "(lambda: 1 / 0)()" << false << "ZeroDivisionError";
    QTest::newRow("system exit leaves the process alive")
        << "exec('raise SystemExit(4)')" << true << "SystemExit: 4";
}

// What the host's code (or PythonQt) left pending is printed and cleared.
void tst_PythonQtAdopt::handlesAnErrorLeftPending()
{
    QFETCH(QString, code);
    QFETCH(bool, printStack);
    QFETCH(QString, printed);

    QVERIFY(hostRuns("host_err.seek(0)\nhost_err.truncate()\n"));
    PyObject *globals = PyModule_GetDict(m_main.object());
    if (!code.isEmpty())
        QVERIFY(!PyRun_String(code.toUtf8().constData(), Py_eval_input, globals, globals));
    QCOMPARE(PyErr_Occurred() != nullptr, !code.isEmpty());

    PythonQt *python = PythonQt::self();
    QCOMPARE(python->handleError(printStack), !code.isEmpty());
    QCOMPARE(python->hadError(), !code.isEmpty());
    QVERIFY(!PyErr_Occurred());
    const QString text = m_main.evalScript("host_err.getvalue()", Py_eval_input).toString();
    QVERIFY2(printed.isEmpty() ? text.isEmpty() : text.contains(printed), qPrintable(text));
    if (!printStack)
        QVERIFY2(!text.contains("Traceback"), qPrintable(text));
}

void tst_PythonQtAdopt::redirectsOnlyWhileItLives()
{
    QVERIFY(hostRuns("host_out = io.StringIO()\nsys.stdout = host_out\n"));
    m_main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
    QVERIFY(Py_IsInitialized());

    PythonQt::init(PythonQt::PythonAlreadyInitialized | PythonQt::RedirectStdOut);
    QVERIFY(PythonQt::self());
    QSignalSpy out(PythonQt::self(), &PythonQt::pythonStdOut);
    m_main = PythonQt::self()->getMainModule();
    m_main.evalScript("print('to the layer', end='')\n");
    QCOMPARE(out.count(), 1);
    QCOMPARE(out.at(0).at(0).toString(), QString("to the layer"));

    m_main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(hostRuns("assert sys.stdout is host_out and host_out.getvalue() == ''\n"));

    PythonQt::init(PythonQt::PythonAlreadyInitialized);
    m_main = PythonQt::self()->getMainModule();
}

void tst_PythonQtAdopt::survivesTheHostFinalising()
{
    PythonQt *python = PythonQt::self();
    Counter counter;
    python->addObject(m_main, "late", &counter);
    QVERIFY(!python->hadError());

    QCOMPARE(Py_FinalizeEx(), 0);
    // The layer outlived the interpreter: calls fail quietly, references drop.
    QVERIFY(!python->evalScript(m_main, "1", Py_eval_input).isValid());
    QVERIFY(python->hadError());
    m_main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
}

QTEST_GUILESS_MAIN(tst_PythonQtAdopt)
#include "tst_pythonqt_adopt.moc"
