// Python extension modules need libpython's symbols in the global scope, which
// a library loaded with local scope does not give them; the layer fixes that.
#include <QLibrary>
#include <QVariantMap>
#include <QtTest>

class tst_PythonQtLoaded : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void importsExtensionModules_data();
    void importsExtensionModules();

private:
    using Probe = void (*)(const QString &, const QString &, QVariantMap &);
    using Cleanup = void (*)();

    QLibrary m_library{QStringLiteral(EDITOR2_PLUGIN_DIR "/pythonqt_probe")};
    Probe m_probe = nullptr;
};

void tst_PythonQtLoaded::initTestCase()
{
    QCOMPARE(m_library.loadHints() & QLibrary::ExportExternalSymbolsHint, 0);
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    m_probe = reinterpret_cast<Probe>(m_library.resolve("editor2PythonProbe"));
    QVERIFY(m_probe);
}

void tst_PythonQtLoaded::cleanupTestCase()
{
    if (auto cleanup = reinterpret_cast<Cleanup>(m_library.resolve("editor2PythonProbeCleanup")))
        cleanup();
}

void tst_PythonQtLoaded::importsExtensionModules_data()
{
    QTest::addColumn<QString>("statements");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("json") << "import json\n"
                          << "json.dumps({'a': [1]})" << QVariant("{\"a\": [1]}");
    QTest::newRow("ctypes") << "import ctypes\n"
                            << "ctypes.sizeof(ctypes.c_int32)" << QVariant(4);
    QTest::newRow("math") << "import math\n"
                          << "math.floor(2.5)" << QVariant(2);
}

void tst_PythonQtLoaded::importsExtensionModules()
{
    QFETCH(QString, statements);
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);

    QVariantMap result;
    m_probe(statements, expression, result);
    QCOMPARE(result.value("started"), QVariant(true));
    QVERIFY2(!result.value("failed").toBool(), qPrintable(result.value("errors").toString()));
    QCOMPARE(result.value("value"), expected);
}

QTEST_GUILESS_MAIN(tst_PythonQtLoaded)
#include "tst_pythonqt_loaded.moc"
