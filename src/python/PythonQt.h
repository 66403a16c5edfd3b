#pragma once

#include "PythonQtObjectPtr.h"
#include "editor2python_export.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

// The start symbols of the interpreter's grammar, with CPython's values.
#ifndef Py_single_input
#define Py_single_input 256
#endif
#ifndef Py_file_input
#define Py_file_input 257
#endif
#ifndef Py_eval_input
#define Py_eval_input 258
#endif

// A small embedding layer over CPython with the shape of PythonQt's calls, and
// the only code that knows CPython: a Python error is printed (to the error
// output, or to pythonStdErr() when redirected) and the call yields an invalid
// QVariant; every call takes the interpreter lock, which PythonQt takes only
// when the host enabled its thread support. Where PythonQt behaves otherwise,
// the difference is written beside the call.
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

    // Starts an interpreter, or with PythonAlreadyInitialized adopts the one
    // the host started. IgnoreSiteModule applies when it starts one;
    // RedirectStdOut sends sys.stdout and sys.stderr to pythonStdOut() and
    // pythonStdErr() until cleanup(). PythonQt starts no interpreter with
    // PythonAlreadyInitialized and goes on as if one ran, which a host without
    // Python does not survive; this layer then leaves self() null, and callers
    // skip their Python work.
    static void init(int flags = IgnoreSiteModule | RedirectStdOut,
                     const QByteArray &pythonQtModuleName = QByteArray());
    // Ends the layer; finalises the interpreter only if init() started it.
    static void cleanup();
    static PythonQt *self();

    PythonQtObjectPtr getMainModule();
    PythonQtObjectPtr importModule(const QString &name);
    // Creates (or replaces) the module `name`, runs `script` in it and
    // registers it so that `import name` finds it. PythonQt instead runs the
    // script in a module of that name that is already there, keeping its
    // other names.
    PythonQtObjectPtr createModuleFromScript(const QString &name,
                                             const QString &script = QString());

    // PythonQt converts a result that only looks like a sequence (it has
    // __getitem__) through its length and items, and a failure there leaves
    // Python's error set; here such a result, like any object without a
    // conversion, is an invalid QVariant. Both print a failed evaluation or
    // call with PyErr_Print(), which in PythonQt ends the process on
    // SystemExit unless the host enabled its SystemExit handler; here
    // SystemExit is printed like any other error.
    QVariant evalScript(PyObject *object, const QString &script, int start = Py_file_input);
    // A `callable` name that is not there: PythonQt returns an invalid
    // QVariant silently and leaves hadError() as it was; here it is a
    // NameError, printed. A module's name is looked up among the builtins
    // too, which PythonQt does not do.
    QVariant call(PyObject *object, const QString &callable,
                  const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    QVariant call(PyObject *callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());

    // Binds `name` in `object` (a module or any object with attributes) to a
    // Python view of `qObject`: its properties read and write as attributes,
    // its invokable methods and slots are callable. The view holds a guarded
    // pointer; using it after the QObject is gone raises a Python error.
    void addObject(PyObject *object, const QString &name, QObject *qObject);
    void addVariable(PyObject *object, const QString &name, const QVariant &value);
    // A `name` that is not there is no error here; PythonQt leaves Python's
    // error set (an AttributeError, or a KeyError for a dict).
    void removeVariable(PyObject *object, const QString &name);
    // A `name` that is not there is no error.
    QVariant getVariable(PyObject *object, const QString &name);
    // The object that `name` (dotted names walk attributes) stands for in
    // `object`, or null; never an error. As in PythonQt, a module's builtins
    // are not searched.
    PythonQtObjectPtr lookupObject(PyObject *object, const QString &name);

    // True when the last call of this layer ended in a Python error. PythonQt
    // sets it only in evalScript(), call() (of a name it found) and
    // handleError().
    bool hadError() const { return m_hadError; }
    void clearError() { m_hadError = false; }
    // Prints and clears the error that Python has pending, if any, and
    // returns whether there was one; hadError() then says the same. No call
    // of this layer leaves an error pending, PythonQt's calls can.
    bool handleError(bool printStack = true);

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
