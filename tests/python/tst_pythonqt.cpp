#include "PythonQt.h"

#include <QDeadlineTimer>
#include <QPointF>
#include <QPointer>
#include <QSignalSpy>
#include <QThread>
#include <QUrl>
#include <QtTest>

#include <limits>

// A stand-in for the host's message objects: properties of the kinds the
// plug-in reads, a nested QObject, invokable methods and a slot.
class Message : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int command MEMBER m_command)
    Q_PROPERTY(QString text MEMBER m_text)
    Q_PROPERTY(QPointF position MEMBER m_position)
    Q_PROPERTY(uint mask MEMBER m_mask)
    Q_PROPERTY(QObject *request MEMBER m_request)
    Q_PROPERTY(QString kind READ kind CONSTANT)

public:
    using QObject::QObject;

    QString kind() const { return QStringLiteral("message"); }

    Q_INVOKABLE int add(int a, int b) const { return a + b; }
    Q_INVOKABLE QVariant echo(const QVariant &value) const { return value; }
    Q_INVOKABLE QObject *child() const { return m_request; }
    Q_INVOKABLE bool holds(QObject *object) const { return object && object == m_request; }
    Q_INVOKABLE QList<QObject *> parts() const { return {m_request, nullptr}; }
    // Runs the event loop until `watched` holds text, as a modal dialog would.
    Q_INVOKABLE bool waitForText(int milliseconds) const
    {
        QDeadlineTimer deadline(milliseconds);
        while (watched && watched->isEmpty() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        return watched && !watched->isEmpty();
    }

public slots:
    void setText(const QString &text) { m_text = text; }

public:
    int m_command = 0;
    QString m_text;
    QPointF m_position;
    uint m_mask = 0;
    QObject *m_request = nullptr;
    const QString *watched = nullptr;
};

class tst_PythonQt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void keepsTheFirstInitialisation();
    void evaluatesExpressions_data();
    void evaluatesExpressions();
    void convertsValuesBothWays_data();
    void convertsValuesBothWays();
    void cutsOffSelfContainingList();
    void callsFunctionsDefinedByStatements();
    void callsCallableObject();
    void reportsErrors_data();
    void reportsErrors();
    void redirectsOutput_data();
    void redirectsOutput();
    void removesVariables();
    void looksUpObjectsQuietly_data();
    void looksUpObjectsQuietly();
    void createsImportableModules();
    void readsObjectProperties_data();
    void readsObjectProperties();
    void writesObjectProperties();
    void rejectsBadPropertyWrites_data();
    void rejectsBadPropertyWrites();
    void callsInvokableMethods_data();
    void callsInvokableMethods();
    void rejectsBadCalls_data();
    void rejectsBadCalls();
    void deletedObjectRaisesInPython();
    void bindsNullObjectAsNone();
    void importsExtensionModules();
    void letsPythonThreadsRunBetweenCalls();
    void letsPythonThreadsRunDuringSlots();
    void objectPtrCountsReferences();
    void restartsAfterCleanup();

private:
    QVariant eval(const QString &expression)
    {
        return PythonQt::self()->evalScript(m_main, expression, Py_eval_input);
    }
    void run(const QString &statements)
    {
        PythonQt::self()->evalScript(m_main, statements, Py_file_input);
    }
    void bindMessages();

    PythonQtObjectPtr m_main;
    QString m_out;
    QString m_err;
    int m_emptyWrites = 0;
    Message m_resp;
    Message m_request;
};

void tst_PythonQt::initTestCase()
{
    PythonQt::init(PythonQt::IgnoreSiteModule | PythonQt::RedirectStdOut);
    PythonQt *python = PythonQt::self();
    QVERIFY(python);
    connect(python, &PythonQt::pythonStdOut, this, [this](const QString &text) {
        m_out += text;
        m_emptyWrites += text.isEmpty();
    });
    connect(python, &PythonQt::pythonStdErr, this, [this](const QString &text) {
        m_err += text;
        m_emptyWrites += text.isEmpty();
    });
    m_main = python->getMainModule();
    QVERIFY(!m_main.isNull());
}

void tst_PythonQt::init()
{
    m_out.clear();
    m_err.clear();
    m_emptyWrites = 0;
    if (PythonQt::self())
        PythonQt::self()->clearError();
}

void tst_PythonQt::cleanupTestCase()
{
    m_main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
}

void tst_PythonQt::keepsTheFirstInitialisation()
{
    PythonQt *python = PythonQt::self();
    PythonQt::init();
    PythonQt::init(PythonQt::PythonAlreadyInitialized);
    QCOMPARE(PythonQt::self(), python);
    QCOMPARE(eval("__import__('sys').flags.no_site"), QVariant(1));
}

void tst_PythonQt::evaluatesExpressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("type");

    QTest::newRow("None") << "None" << QVariant() << int(QMetaType::UnknownType);
    QTest::newRow("bool") << "1 == 1" << QVariant(true) << int(QMetaType::Bool);
    QTest::newRow("int") << "-7" << QVariant(-7) << int(QMetaType::Int);
    QTest::newRow("beyond int") << "2**31" << QVariant(qlonglong(1) << 31)
                                << int(QMetaType::LongLong);
    QTest::newRow("smallest 64-bit")
        << "-2**63" << QVariant(std::numeric_limits<qlonglong>::min()) << int(QMetaType::LongLong);
    QTest::newRow("largest unsigned 64-bit")
        << "2**64 - 1" << QVariant(std::numeric_limits<qulonglong>::max())
        << int(QMetaType::ULongLong);
    QTest::newRow("too large for 64 bits") << "2**64" << QVariant() << int(QMetaType::UnknownType);
    QTest::newRow("float") << "0.1 + 0.2" << QVariant(0.1 + 0.2) << int(QMetaType::Double);
    QTest::newRow("text") << "'a' + 'b'" << QVariant("ab") << int(QMetaType::QString);
    QTest::newRow("text beyond the BMP")
        << "'\\U0001F600x'" << QVariant(QString::fromUtf8("\xF0\x9F\x98\x80x"))
        << int(QMetaType::QString);
    QTest::newRow("bytes") << "b'\\x00\\xff'" << QVariant(QByteArray("\0\xff", 2))
                           << int(QMetaType::QByteArray);
    QTest::newRow("bytearray") << "bytearray(b'ab')" << QVariant(QByteArray("ab"))
                               << int(QMetaType::QByteArray);
    QTest::newRow("list") << "[1, 'a', None]" << QVariant(QVariantList{1, "a", QVariant()})
                          << int(QMetaType::QVariantList);
    QTest::newRow("tuple as list")
        << "(1.5, True)" << QVariant(QVariantList{1.5, true}) << int(QMetaType::QVariantList);
    QTest::newRow("dict") << "{'a': 1, 'b': [2]}"
                          << QVariant(QVariantMap{{"a", 1}, {"b", QVariantList{2}}})
                          << int(QMetaType::QVariantMap);
    QTest::newRow("dict with int keys")
        << "{1: 'x'}" << QVariant(QVariantMap{{"1", "x"}}) << int(QMetaType::QVariantMap);
    QTest::newRow("object without conversion")
        << "object()" << QVariant() << int(QMetaType::UnknownType);
    QTest::newRow("builtin function") << "len" << QVariant() << int(QMetaType::UnknownType);
}

void tst_PythonQt::evaluatesExpressions()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    QFETCH(int, type);

    const QVariant result = eval(expression);
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(result.userType(), type);
    QCOMPARE(result, expected);
}

void tst_PythonQt::convertsValuesBothWays_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QVariant>("back");

    QTest::newRow("invalid") << QVariant() << "v is None" << QVariant();
    QTest::newRow("bool") << QVariant(false) << "v is False" << QVariant(false);
    QTest::newRow("unsigned 32-bit")
        << QVariant(4000000000u) << "v == 4000000000" << QVariant(qlonglong(4000000000));
    QTest::newRow("unsigned 64-bit")
        << QVariant(std::numeric_limits<qulonglong>::max()) << "v == 2**64 - 1"
        << QVariant(std::numeric_limits<qulonglong>::max());
    QTest::newRow("smallest 64-bit")
        << QVariant(std::numeric_limits<qlonglong>::min()) << "v == -2**63"
        << QVariant(std::numeric_limits<qlonglong>::min());
    QTest::newRow("short") << QVariant::fromValue<short>(-3) << "v == -3" << QVariant(-3);
    QTest::newRow("float") << QVariant(0.5f) << "v == 0.5" << QVariant(0.5);
    QTest::newRow("null string") << QVariant(QString()) << "v == ''" << QVariant(QString(""));
    QTest::newRow("quotes, backslash, new line")
        << QVariant("it's \"q\" \\ \n end") << "v == 'it\\'s \"q\" \\\\ \\n end'"
        << QVariant("it's \"q\" \\ \n end");
    QTest::newRow("non-ASCII")
        << QVariant(QString::fromUtf8("\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80"))
        << "v == '\\u0416\\u20ac\\U0001f600' and len(v) == 3"
        << QVariant(QString::fromUtf8("\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80"));
    QTest::newRow("lone surrogate")
        << QVariant(QString(QChar(0xD800))) << "v == '\\ud800'" << QVariant(QString(QChar(0xD800)));
    QTest::newRow("byte order mark first")
        << QVariant(QString(QChar(0xFEFF)) + "x") << "v == '\\ufeffx'"
        << QVariant(QString(QChar(0xFEFF)) + "x");
    QTest::newRow("char") << QVariant(QChar('x')) << "v == 'x'" << QVariant("x");
    QTest::newRow("bytes with zero")
        << QVariant(QByteArray("a\0b", 3)) << "v == b'a\\x00b'" << QVariant(QByteArray("a\0b", 3));
    QTest::newRow("string list") << QVariant(QStringList{"a", ""}) << "v == ['a', '']"
                                 << QVariant(QVariantList{"a", ""});
    QTest::newRow("nested map")
        << QVariant(QVariantMap{{"k", QVariantList{1, QVariantMap{{"x", true}}}}})
        << "v == {'k': [1, {'x': True}]}"
        << QVariant(QVariantMap{{"k", QVariantList{1, QVariantMap{{"x", true}}}}});
    QTest::newRow("hash") << QVariant(QVariantHash{{"a", 1}}) << "v == {'a': 1}"
                          << QVariant(QVariantMap{{"a", 1}});
    QTest::newRow("point") << QVariant(QPointF(1.5, -2)) << "v == (1.5, -2.0)"
                           << QVariant(QVariantList{1.5, -2.0});
    QTest::newRow("list of ints") << QVariant::fromValue(QList<int>{1, 2}) << "v == [1, 2]"
                                  << QVariant(QVariantList{1, 2});
    QTest::newRow("url as text") << QVariant(QUrl("http://h:1/p")) << "v == 'http://h:1/p'"
                                 << QVariant("http://h:1/p");
}

void tst_PythonQt::convertsValuesBothWays()
{
    QFETCH(QVariant, value);
    QFETCH(QString, check);
    QFETCH(QVariant, back);

    PythonQt *python = PythonQt::self();
    python->addVariable(m_main, "v", value);
    QCOMPARE(eval(check), QVariant(true));
    const QVariant result = python->getVariable(m_main, "v");
    QVERIFY2(!python->hadError(), qPrintable(m_err));
    QCOMPARE(result.userType(), back.userType());
    QCOMPARE(result, back);
    python->removeVariable(m_main, "v");
}

void tst_PythonQt::cutsOffSelfContainingList()
{
    run("loop = []\nloop.append(loop)\n");
    QVariant level = PythonQt::self()->getVariable(m_main, "loop");
    int depth = 0;
    while (level.userType() == QMetaType::QVariantList) {
        level = level.toList().value(0);
        ++depth;
    }
    QVERIFY(depth > 10);
    QVERIFY(!level.isValid());
    PythonQt::self()->removeVariable(m_main, "loop");
}

void tst_PythonQt::callsFunctionsDefinedByStatements()
{
    PythonQt *python = PythonQt::self();
    run("import math\ndef f(a, b=2, *, c=0):\n    return [a, b, c]\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));

    QCOMPARE(python->call(m_main, "f", {1}, {{"c", 5}}), QVariant(QVariantList{1, 2, 5}));
    QCOMPARE(m_main.call("f", {"x", 3}), QVariant(QVariantList{"x", 3, 0}));
    QCOMPARE(python->call(m_main, "math.floor", {2.5}), QVariant(2));
    QCOMPARE(python->call(m_main, "len", {QVariant(QVariantList{1, 2, 3})}), QVariant(3));
    QVERIFY(!python->hadError());
}

void tst_PythonQt::callsCallableObject()
{
    PythonQtObjectPtr module = PythonQt::self()->createModuleFromScript(
        "editor2_callable", "import sys, types\n"
                            "class Callable(types.ModuleType):\n"
                            "    def __call__(self, x, y=1):\n"
                            "        return x * y\n"
                            "sys.modules[__name__].__class__ = Callable\n");
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(module.call(QVariantList{21}, QVariantMap{{"y", 2}}), QVariant(42));
    QVERIFY(!PythonQt::self()->hadError());
}

void tst_PythonQt::reportsErrors_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("start"); // 0: call of the function named by code
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("traceback");

    QTest::newRow("runtime error in an expression")
        << "1/0" << int(Py_eval_input) << "ZeroDivisionError: division by zero" << true;
    QTest::newRow("raise in statements")
        << "raise ValueError('bad value')" << int(Py_file_input) << "ValueError: bad value" << true;
    QTest::newRow("unknown name") << "no_such_name" << int(Py_eval_input)
                                  << "NameError: name 'no_such_name' is not defined" << true;
    QTest::newRow("syntax error") << "def (:" << int(Py_file_input) << "SyntaxError" << false;
    QTest::newRow("statement where an expression is due")
        << "x = 1" << int(Py_eval_input) << "SyntaxError" << false;
    QTest::newRow("system exit leaves the process alive")
        << "raise SystemExit(3)" << int(Py_file_input) << "SystemExit: 3" << true;
    QTest::newRow("unknown start symbol")
        << "1" << 1 << "ValueError: unknown start symbol 1" << false;
    QTest::newRow("null byte in source")
        << QString("x = 1") + QChar(0) << int(Py_file_input)
        << "ValueError: source code cannot contain null bytes" << false;
    QTest::newRow("exception in a called function") << "fails" << 0 << "KeyError: 'k'" << true;
    QTest::newRow("missing function")
        << "missing_function" << 0 << "NameError: name 'missing_function' is not defined" << false;
    QTest::newRow("missing dotted function")
        << "math.missing" << 0 << "NameError: name 'math.missing' is not defined" << false;
    QTest::newRow("call of a non-callable")
        << "not_callable" << 0 << "TypeError: 'int' object is not callable" << false;
}

void tst_PythonQt::reportsErrors()
{
    QFETCH(QString, code);
    QFETCH(int, start);
    QFETCH(QString, message);
    QFETCH(bool, traceback);

    PythonQt *python = PythonQt::self();
    run("import math\nnot_callable = 5\ndef fails():\n    raise KeyError('k')\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));

    const QVariant result =
        start == 0 ? python->call(m_main, code) : python->evalScript(m_main, code, start);
    QVERIFY(!result.isValid());
    QVERIFY(python->hadError());
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QCOMPARE(m_err.contains("Traceback (most recent call last):"), traceback);
    QVERIFY(m_out.isEmpty());

    QCOMPARE(eval("40 + 2"), QVariant(42));
    QVERIFY(!python->hadError());
}

void tst_PythonQt::redirectsOutput_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("print") << "print('a', 'b')" << int(Py_file_input) << "a b\n"
                           << "";
    QTest::newRow("nothing written") << "print('', end='')" << int(Py_file_input) << ""
                                     << "";
    QTest::newRow("text as written") << "import sys\nsys.stdout.write('x\\ty')\nsys.stdout.flush()"
                                     << int(Py_file_input) << "x\ty"
                                     << "";
    QTest::newRow("single statement echoes") << "1 + 2" << int(Py_single_input) << "3\n"
                                             << "";
    QTest::newRow("expression echoes nothing") << "1 + 2" << int(Py_eval_input) << ""
                                               << "";
    QTest::newRow("error stream") << "import sys\nprint('e', end='', file=sys.stderr)"
                                  << int(Py_file_input) << ""
                                  << "e";
    QTest::newRow("non-ASCII") << "print('\\u0416', end='')" << int(Py_file_input)
                               << QString(QChar(0x416)) << "";
}

void tst_PythonQt::redirectsOutput()
{
    QFETCH(QString, code);
    QFETCH(int, start);
    QFETCH(QString, out);
    QFETCH(QString, err);

    PythonQt::self()->evalScript(m_main, code, start);
    QCOMPARE(m_out, out);
    QCOMPARE(m_err, err);
    QCOMPARE(m_emptyWrites, 0);
}

void tst_PythonQt::removesVariables()
{
    PythonQt *python = PythonQt::self();
    python->addVariable(m_main, "gone", 1);
    QCOMPARE(eval("gone"), QVariant(1));

    python->removeVariable(m_main, "gone");
    QVERIFY(!python->hadError());
    QCOMPARE(eval("'gone' in globals()"), QVariant(false));
    QVERIFY(!python->getVariable(m_main, "gone").isValid());
    QVERIFY(!python->hadError());

    // The import of a name that failed leaves nothing to remove: no error then.
    python->removeVariable(m_main, "gone");
    QVERIFY(!python->hadError());
    QVERIFY(m_err.isEmpty());
}

void tst_PythonQt::looksUpObjectsQuietly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");

    QTest::newRow("module") << "math" << true;
    QTest::newRow("attribute of a module") << "math.pi" << true;
    // getVariable() cannot tell this one from a missing name.
    QTest::newRow("bound to None") << "nothing" << true;
    QTest::newRow("key of a dict") << "table.key" << true;
    QTest::newRow("missing name") << "missing" << false;
    QTest::newRow("missing attribute") << "math.missing" << false;
    QTest::newRow("missing key") << "table.missing" << false;
    // As in PythonQt: the builtins are not the module's own names.
    QTest::newRow("builtin") << "len" << false;
    QTest::newRow("attribute that raises") << "raising.value" << false;
}

// A look-up before a removal must neither print nor leave an error.
void tst_PythonQt::looksUpObjectsQuietly()
{
    QFETCH(QString, name);
    QFETCH(bool, found);

    PythonQt *python = PythonQt::self();
    run("import math\nnothing = None\ntable = {'key': 1}\n"
        "class Raising:\n    @property\n    def value(self): raise RuntimeError('no')\n"
        "raising = Raising()\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));
    eval("missing_before_lookup");
    QVERIFY(python->hadError());

    QCOMPARE(!python->lookupObject(m_main, name).isNull(), found);
    // Like PythonQt's, the look-up leaves the last call's error flag alone.
    QVERIFY(python->hadError());
    m_err.clear();
    QVERIFY(!python->handleError());
    QVERIFY(!python->hadError());
    QVERIFY(m_err.isEmpty());
}

void tst_PythonQt::createsImportableModules()
{
    PythonQt *python = PythonQt::self();
    PythonQtObjectPtr module =
        python->createModuleFromScript("editor2_probe", "x = 41\ndef g():\n    return x + 1\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));
    QVERIFY(!module.isNull());
    run("from editor2_probe import x, g\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));
    QCOMPARE(eval("g()"), QVariant(42));
    QCOMPARE(python->importModule("editor2_probe"), module);
    QCOMPARE(module.getVariable("x"), QVariant(41));

    PythonQtObjectPtr replaced = python->createModuleFromScript("editor2_probe", "x = 1\n");
    QVERIFY(replaced != module);
    run("import editor2_probe\n");
    QCOMPARE(eval("editor2_probe.x"), QVariant(1));
    QCOMPARE(eval("hasattr(editor2_probe, 'g')"), QVariant(false));

    PythonQtObjectPtr broken =
        python->createModuleFromScript("editor2_broken", "raise RuntimeError('broken')\n");
    QVERIFY(python->hadError());
    QVERIFY(m_err.contains("RuntimeError: broken"));
    QVERIFY(!broken.isNull());

    QVERIFY(python->importModule("editor2_no_such_module").isNull());
    QVERIFY(python->hadError());
    QVERIFY(m_err.contains("ModuleNotFoundError"));
    python->removeVariable(m_main, "editor2_probe");
}

void tst_PythonQt::bindMessages()
{
    m_request.m_command = 0x21;
    m_resp.setObjectName("resp");
    m_resp.m_text = "answer";
    m_resp.m_position = QPointF(1.5, 2.5);
    m_resp.m_mask = 4000000000u;
    m_resp.m_request = &m_request;
    m_resp.setProperty("dynamicValue", 7);
    PythonQt::self()->addObject(m_main, "resp", &m_resp);
    QVERIFY(!PythonQt::self()->hadError());
}

void tst_PythonQt::readsObjectProperties_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("nested object property") << "resp.request.command" << QVariant(0x21);
    QTest::newRow("filter test") << "resp.request.command in (0x21,0x22,)" << QVariant(true);
    QTest::newRow("text") << "resp.text" << QVariant("answer");
    QTest::newRow("point") << "resp.position" << QVariant(QVariantList{1.5, 2.5});
    QTest::newRow("unsigned") << "resp.mask" << QVariant(qlonglong(4000000000));
    QTest::newRow("object name") << "resp.objectName" << QVariant("resp");
    QTest::newRow("read-only property") << "resp.kind" << QVariant("message");
    QTest::newRow("dynamic property") << "resp.dynamicValue" << QVariant(7);
    QTest::newRow("live view is true") << "bool(resp)" << QVariant(true);
    QTest::newRow("dir lists properties and methods")
        << "all(n in dir(resp) for n in ('command', 'add', 'setText', 'dynamicValue'))"
        << QVariant(true);
    QTest::newRow("missing attribute") << "hasattr(resp, 'nothing')" << QVariant(false);
}

void tst_PythonQt::readsObjectProperties()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);

    bindMessages();
    QCOMPARE(eval(expression), expected);
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
}

void tst_PythonQt::writesObjectProperties()
{
    bindMessages();
    run("resp.text = 'new'\n"
        "resp.position = (3, 4)\n"
        "resp.mask = 2**32 - 1\n"
        "resp.request.command = 0x40\n"
        "resp.dynamicValue = 'changed'\n");
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(m_resp.m_text, QString("new"));
    QCOMPARE(m_resp.m_position, QPointF(3, 4));
    QCOMPARE(m_resp.m_mask, 4294967295u);
    QCOMPARE(m_request.m_command, 0x40);
    QCOMPARE(m_resp.property("dynamicValue"), QVariant("changed"));

    run("resp.request = None\n");
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(m_resp.m_request, nullptr);
}

void tst_PythonQt::rejectsBadPropertyWrites_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("read-only") << "resp.kind = 'x'"
                               << "AttributeError: property 'kind' of 'Message' is read-only";
    QTest::newRow("unknown property")
        << "resp.nothing = 1"
        << "AttributeError: 'Message' object has no property 'nothing'";
    QTest::newRow("text into int") << "resp.command = 'abc'"
                                   << "TypeError: cannot set property 'command' of 'Message'";
    QTest::newRow("short point") << "resp.position = (1,)"
                                 << "TypeError: cannot set property 'position'";
    QTest::newRow("number into object") << "resp.request = 5"
                                        << "TypeError: cannot set property 'request'";
}

void tst_PythonQt::rejectsBadPropertyWrites()
{
    QFETCH(QString, code);
    QFETCH(QString, message);

    bindMessages();
    m_resp.m_command = 9;
    run(code);
    QVERIFY(PythonQt::self()->hadError());
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QCOMPARE(m_resp.m_command, 9);
    QCOMPARE(m_resp.m_position, QPointF(1.5, 2.5));
    QCOMPARE(m_resp.m_request, &m_request);
}

void tst_PythonQt::callsInvokableMethods_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("ints") << "resp.add(2, 3)" << QVariant(5);
    QTest::newRow("float into int") << "resp.add(2.0, 3)" << QVariant(5);
    QTest::newRow("variant") << "resp.echo([1, 'a'])" << QVariant(QVariantList{1, "a"});
    QTest::newRow("slot") << "resp.setText('set') or resp.text" << QVariant("set");
    QTest::newRow("returned object") << "resp.child().command" << QVariant(0x21);
    QTest::newRow("view as argument") << "resp.holds(resp.request)" << QVariant(true);
    QTest::newRow("None as object argument") << "resp.holds(None)" << QVariant(false);
    QTest::newRow("method kept for later") << "(lambda f: f(4, 5))(resp.add)" << QVariant(9);
    QTest::newRow("list of objects")
        << "[p and p.command for p in resp.parts()]" << QVariant(QVariantList{0x21, QVariant()});
    QTest::newRow("views of one object are equal")
        << "resp.request == resp.child() and resp.request != resp" << QVariant(true);
    QTest::newRow("views of one object hash alike")
        << "len({resp.request, resp.child()})" << QVariant(1);
}

void tst_PythonQt::callsInvokableMethods()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);

    bindMessages();
    QCOMPARE(eval(expression), expected);
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
}

void tst_PythonQt::rejectsBadCalls_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("message");

    QTest::newRow("too few arguments") << "resp.add(1)"
                                       << "TypeError: no overload of Message.add() takes these 1";
    QTest::newRow("wrong types") << "resp.add('a', 'b')"
                                 << "TypeError: no overload";
    QTest::newRow("keyword arguments") << "resp.add(1, b=2)"
                                       << "TypeError";
    QTest::newRow("object of the wrong class") << "resp.holds(1)"
                                               << "TypeError: no overload";
    QTest::newRow("missing method")
        << "resp.missing()"
        << "AttributeError: 'Message' object has no attribute 'missing'";
}

void tst_PythonQt::rejectsBadCalls()
{
    QFETCH(QString, expression);
    QFETCH(QString, message);

    bindMessages();
    QVERIFY(!eval(expression).isValid());
    QVERIFY(PythonQt::self()->hadError());
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
}

void tst_PythonQt::deletedObjectRaisesInPython()
{
    PythonQt *python = PythonQt::self();
    auto *doomed = new Message;
    python->addObject(m_main, "doomed", doomed);
    run("kept_method = doomed.add\n");
    QCOMPARE(eval("bool(doomed)"), QVariant(true));
    delete doomed;

    QCOMPARE(eval("bool(doomed)"), QVariant(false));
    QVERIFY(!python->hadError());
    QCOMPARE(qvariant_cast<QObject *>(eval("doomed")), nullptr);

    const char *const uses[] = {"doomed.text", "doomed.add(1, 2)", "kept_method(1, 2)",
                                "setattr(doomed, 'text', 'x')"};
    for (const char *use : uses) {
        m_err.clear();
        QVERIFY(!eval(use).isValid());
        QVERIFY2(python->hadError(), use);
        QVERIFY2(m_err.contains("RuntimeError: the QObject behind this view has been deleted"),
                 qPrintable(m_err));
    }
    QVERIFY(eval("repr(doomed)").toString().contains("deleted"));
}

void tst_PythonQt::bindsNullObjectAsNone()
{
    PythonQt::self()->addObject(m_main, "nothing", nullptr);
    QCOMPARE(eval("nothing is None"), QVariant(true));
    bindMessages();
    QCOMPARE(qvariant_cast<QObject *>(eval("resp")), &m_resp);
}

void tst_PythonQt::importsExtensionModules()
{
    run("import json, ctypes\n");
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(eval("json.dumps({'a': [ctypes.sizeof(ctypes.c_int32)]})"), QVariant("{\"a\": [4]}"));
}

void tst_PythonQt::letsPythonThreadsRunBetweenCalls()
{
    // The thread can only print while no call of the layer holds the lock.
    run("import threading, time\n"
        "def work():\n"
        "    time.sleep(0.05)\n"
        "    print('from thread', end='')\n"
        "worker = threading.Thread(target=work)\n"
        "worker.start()\n");
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QTRY_COMPARE_WITH_TIMEOUT(m_out, QString("from thread"), 10000);
    run("worker.join()\n");
}

void tst_PythonQt::letsPythonThreadsRunDuringSlots()
{
    // The thread is let go just before the slot runs; it can only print while
    // the slot's event loop spins if the call into C++ gave the lock up.
    bindMessages();
    m_resp.watched = &m_out;
    const QVariant printed = eval("(lambda gate, threading: ("
                                  "    threading.Thread(target=lambda: (gate.wait(), "
                                  "        print('during slot', end=''))).start(),"
                                  "    gate.set(),"
                                  "    resp.waitForText(10000))[2])"
                                  "(__import__('threading').Event(), __import__('threading'))");
    m_resp.watched = nullptr;
    QVERIFY2(!PythonQt::self()->hadError(), qPrintable(m_err));
    QCOMPARE(printed, QVariant(true));
    QCOMPARE(m_out, QString("during slot"));
}

void tst_PythonQt::objectPtrCountsReferences()
{
    PythonQt *python = PythonQt::self();
    PythonQtObjectPtr first = python->createModuleFromScript("editor2_counted");
    run("import sys, weakref\nref = weakref.ref(sys.modules.pop('editor2_counted'))\n");
    QVERIFY2(!python->hadError(), qPrintable(m_err));
    const auto alive = [this] {
        return eval("ref() is not None").toBool();
    };
    QVERIFY(alive());

    PythonQtObjectPtr second = first;
    QCOMPARE(second, first);
    first = PythonQtObjectPtr();
    QVERIFY(alive());

    python->addVariable(m_main, "held", QVariant::fromValue(second));
    QCOMPARE(eval("held is ref()"), QVariant(true));
    python->removeVariable(m_main, "held");

    PythonQtObjectPtr third = std::move(second);
    QVERIFY(second.isNull());
    third = third;
    QVERIFY(alive());
    third = PythonQtObjectPtr();
    QVERIFY(!alive());
}

void tst_PythonQt::restartsAfterCleanup()
{
    PythonQtObjectPtr kept = m_main;
    m_main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
    // The interpreter is gone: dropping the reference must not touch it.
    kept = PythonQtObjectPtr();

    PythonQt::init(0);
    PythonQt *python = PythonQt::self();
    QVERIFY(python);
    m_main = python->getMainModule();
    QCOMPARE(eval("__import__('sys').flags.no_site"), QVariant(0));
    QCOMPARE(eval("type(__import__('sys').stdout).__name__"), QVariant("TextIOWrapper"));

    Message message;
    message.m_command = 3;
    python->addObject(m_main, "message", &message);
    QCOMPARE(eval("message.add(message.command, 1)"), QVariant(4));
    QVERIFY(!python->hadError());
}

QTEST_GUILESS_MAIN(tst_PythonQt)
#include "tst_pythonqt.moc"
