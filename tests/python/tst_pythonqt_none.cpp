// A host without Python: the layer stays off and every call is harmless.
#include <Python.h>

#include "PythonQt.h"

#include <QtTest>

class tst_PythonQtNone : public QObject
{
    Q_OBJECT

private slots:
    void staysOffWithoutInterpreter();
    void emptyReferenceIsHarmless();
};

void tst_PythonQtNone::staysOffWithoutInterpreter()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QTest::ignoreMessage(QtWarningMsg,
                             "PythonQt: no Python interpreter is running; Python is not available");
        PythonQt::init(PythonQt::PythonAlreadyInitialized, QByteArray());
        QVERIFY(!PythonQt::self());
        QVERIFY(!Py_IsInitialized());
    }
    PythonQt::cleanup();
    QVERIFY(!Py_IsInitialized());
}

void tst_PythonQtNone::emptyReferenceIsHarmless()
{
    PythonQtObjectPtr main;
    QVERIFY(main.isNull());
    QVERIFY(!main.evalScript("from actions import closeProject\n").isValid());
    QVERIFY(!main.call("closeProject").toBool());
    main.addVariable("x", 1);
    main.addObject("o", this);
    QVERIFY(!main.getVariable("x").isValid());
    main.removeVariable("x");
    PythonQtObjectPtr copy = main;
    QVERIFY(copy == main);
}

QTEST_GUILESS_MAIN(tst_PythonQtNone)
#include "tst_pythonqt_none.moc"
