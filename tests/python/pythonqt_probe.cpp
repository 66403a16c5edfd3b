// Uses the layer from inside a library that the test loads with local symbol
// scope, the way the host loads the plug-in.
#include "PythonQt.h"

#include <QVariantMap>

extern "C" Q_DECL_EXPORT void editor2PythonProbe(const QString &statements,
                                                 const QString &expression, QVariantMap &result)
{
    PythonQt::init(PythonQt::IgnoreSiteModule | PythonQt::RedirectStdOut);
    PythonQt *python = PythonQt::self();
    result.insert("started", python != nullptr);
    if (!python)
        return;
    QString errors;
    const QMetaObject::Connection connection = QObject::connect(
        python, &PythonQt::pythonStdErr, [&errors](const QString &text) { errors += text; });
    PythonQtObjectPtr main = python->getMainModule();
    main.evalScript(statements, Py_file_input);
    bool failed = python->hadError();
    result.insert("value", main.evalScript(expression, Py_eval_input));
    failed = failed || python->hadError();
    QObject::disconnect(connection);
    result.insert("failed", failed);
    result.insert("errors", errors);
}

extern "C" Q_DECL_EXPORT void editor2PythonProbeCleanup()
{
    PythonQt::cleanup();
}
