#pragma once

#include "PythonQtObjectPtr.h"
#include "editor2python_export.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

// The start symbols of the interpreter's grammar, with CPython's values.
#ifndef Py_single_input
#  define Py_single_input 256
#endif
#ifndef Py_file_input
#  define Py_file_input 257
#endif
#ifndef Py_eval_input
#  define Py_eval_input 258
#endif

// A small embedding layer over CPython with the shape of PythonQt's calls.
//
// It is the only code of the project that knows CPython. Python errors never
// leave it: they are printed as Python prints them (to the error output, or to
// pythonStdErr() when output is redirected) and the call yields an invalid
// QVariant. Every call takes the interpreter lock, so it works whether the
// caller holds the lock or not.
//
// init() starts an interpreter unless PythonAlreadyInitialized is given, in
// which case it adopts the one the host started. Without a running
// interpreter, init() with that flag leaves self() null, and callers skip
// their Python work. IgnoreSiteModule applies when init() starts the
// interpreter; RedirectStdOut sends sys.stdout and sys.stderr to
// pythonStdOut() and pythonStdErr() until cleanup().
//
// A name that getVariable() or removeVariable() does not find is no error.
class EDITOR2_PYTHON_EXPORT PythonQt : public QObject
{
    Q_OBJECT

public:
    enum InitFlags {
        RedirectStdOut = 1,
        IgnoreSiteModule = 2,
        ExternalHelp = 4,
        PythonAlreadyInitialized = 8
    };

    static void init(int flags = IgnoreSiteModule | RedirectStdOut,
                     const QByteArray &pythonQtModuleName = QByteArray());
    // Ends the layer; finalises the interpreter only if init() started it.
    static void cleanup();
    static PythonQt *self();

    PythonQtObjectPtr getMainModule();
    PythonQtObjectPtr importModule(const QString &name);
    // Creates (or replaces) the module `name`, runs `script` in it and
    // registers it so that `import name` finds it.
    PythonQtObjectPtr createModuleFromScript(const QString &name, const QString &script = QString());

    QVariant evalScript(PyObject *object, const QString &script, int start = Py_file_input);
    QVariant call(PyObject *object, const QString &callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    QVariant call(PyObject *callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());

    // Binds `name` in `object` (a module or any object with attributes) to a
    // Python view of `qObject`: its properties read and write as attributes,
    // its invokable methods and slots are callable. The view holds a guarded
    // pointer; using it after the QObject is gone raises a Python error.
    void addObject(PyObject *object, const QString &name, QObject *qObject);
    void addVariable(PyObject *object, const QString &name, const QVariant &value);
    void removeVariable(PyObject *object, const QString &name);
    QVariant getVariable(PyObject *object, const QString &name);

    // True when the last call of this layer ended in a Python error.
    bool hadError() const { return m_hadError; }
    void clearError() { m_hadError = false; }

signals:
    void pythonStdOut(const QString &text);
    void pythonStdErr(const QString &text);

private:
    explicit PythonQt(int flags);
    ~PythonQt() override;

    friend class PythonQtPrivate;

    bool m_ownsInterpreter = false;
    bool m_hadError = false;
};
