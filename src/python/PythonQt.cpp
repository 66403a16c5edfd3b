#include "pythonqt_p.h"

#include "PythonQt.h"

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <dlfcn.h>

using namespace Editor2Python;

namespace {

const char HelperModuleName[] = "_editor2python";

PythonQt *s_self = nullptr;
// The main thread's state while the layer's own interpreter runs with the lock released.
PyThreadState *s_savedThread = nullptr;
bool s_atExitRegistered = false;

// A stand-in for sys.stdout or sys.stderr that hands every write to the layer's signals.
struct StreamWriter
{
    bool error = false;
};

py::object steal(PyObject *object)
{
    if (!object)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(object);
}

[[noreturn]] void raise(PyObject *type, const std::string &message)
{
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

// Extension modules (_json, _ctypes) resolve CPython's symbols in the global
// scope. A plug-in loaded with local scope brings libpython in with local scope
// too, so it is promoted to the global scope once.
void promoteLibPython()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&Py_IsInitialized), &info) == 0 || !info.dli_fname)
        return;
    // The handle is kept: the library must outlive every interpreter anyway.
    if (!dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL))
        qWarning("PythonQt: cannot make %s global: %s", info.dli_fname, dlerror());
}

bool startInterpreter(int flags)
{
    PyConfig config;
    PyConfig_InitPythonConfig(&config);
    config.install_signal_handlers = 0;
    config.parse_argv = 0;
    config.configure_c_stdio = 0;
    config.site_import = (flags & PythonQt::IgnoreSiteModule) ? 0 : 1;
    PyStatus status = PyStatus_Ok();
#ifdef EDITOR2_PYTHON_EXECUTABLE
    // Without a program name Python takes the first "python3" on PATH as
    // sys.executable, which may belong to another installation than the one linked.
    if (QFile::exists(QStringLiteral(EDITOR2_PYTHON_EXECUTABLE)))
        status = PyConfig_SetBytesString(&config, &config.program_name, EDITOR2_PYTHON_EXECUTABLE);
#endif
    if (!PyStatus_Exception(status))
        status = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(status)) {
        qWarning("PythonQt: cannot start Python: %s", status.err_msg ? status.err_msg : "");
        return false;
    }
    s_savedThread = PyEval_SaveThread();
    return true;
}

// Runs at the very end of every finalisation, the host's included: pybind11's
// records of the finished interpreter must not meet the next one.
void afterFinalize()
{
    s_atExitRegistered = false;
    py::detail::get_local_internals().registered_types_cpp.clear();
    py::detail::get_local_internals().registered_exception_translators.clear();
    py::detail::internals **&internals = py::detail::get_internals_pp();
    if (internals) {
        delete *internals;
        *internals = nullptr;
    }
}

// Prints the pending Python error the way Python prints it, to sys.stderr,
// and clears it.
void printError(bool withTraceback = true)
{
    if (!PyErr_Occurred())
        return;
    if (withTraceback && !PyErr_ExceptionMatches(PyExc_SystemExit)) {
        PyErr_Print();
        return;
    }
    // PyErr_Print would end the host's process on SystemExit.
    PyObject *type = nullptr;
    PyObject *value = nullptr;
    PyObject *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    if (!withTraceback && value)
        PyException_SetTraceback(value, Py_None);
    else if (traceback && value)
        PyException_SetTraceback(value, traceback);
    PyErr_Display(type, value, withTraceback ? traceback : nullptr);
    Py_XDECREF(type);
    Py_XDECREF(value);
    Py_XDECREF(traceback);
    PyErr_Clear();
}

py::object pyString(const QString &text)
{
    return toPython(QVariant(text));
}

py::dict namespaceOf(PyObject *object)
{
    if (!object)
        raise(PyExc_TypeError, "no module or object given");
    if (PyModule_Check(object))
        return py::reinterpret_borrow<py::dict>(PyModule_GetDict(object));
    if (PyDict_Check(object))
        return py::reinterpret_borrow<py::dict>(object);
    py::object dict = steal(PyObject_GetAttrString(object, "__dict__"));
    if (!PyDict_Check(dict.ptr()))
        raise(PyExc_TypeError,
              std::string("'") + Py_TYPE(object)->tp_name + "' object has no namespace to work in");
    return py::reinterpret_borrow<py::dict>(dict);
}

bool isNamespace(PyObject *object)
{
    return object && (PyModule_Check(object) || PyDict_Check(object));
}

// Finds `name` in `object`; a dotted name walks attributes from there. A
// module's own names come first, then the builtins. Null when missing.
py::object lookup(PyObject *object, const QString &name)
{
    if (!object)
        raise(PyExc_TypeError, "no module or object given");
    const QStringList parts = name.split(QLatin1Char('.'));
    py::object current;
    for (int i = 0; i < parts.size(); ++i) {
        const py::object key = pyString(parts.at(i));
        if (i == 0 && isNamespace(object)) {
            PyObject *item = PyDict_GetItemWithError(namespaceOf(object).ptr(), key.ptr());
            if (!item && !PyErr_Occurred() && PyModule_Check(object))
                item = PyDict_GetItemWithError(PyEval_GetBuiltins(), key.ptr());
            if (!item && PyErr_Occurred())
                throw py::error_already_set();
            if (!item)
                return py::object();
            current = py::reinterpret_borrow<py::object>(item);
            continue;
        }
        PyObject *attribute = PyObject_GetAttr(i == 0 ? object : current.ptr(), key.ptr());
        if (!attribute) {
            if (!PyErr_ExceptionMatches(PyExc_AttributeError))
                throw py::error_already_set();
            PyErr_Clear();
            return py::object();
        }
        current = steal(attribute);
    }
    return current;
}

QVariant callObject(py::handle callable, const QVariantList &args, const QVariantMap &kwargs)
{
    if (!callable)
        raise(PyExc_TypeError, "no callable given");
    if (!PyCallable_Check(callable.ptr()))
        raise(PyExc_TypeError,
              std::string("'") + Py_TYPE(callable.ptr())->tp_name + "' object is not callable");
    py::tuple pyArgs(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i)
        pyArgs[size_t(i)] = toPython(args.at(i));
    py::dict pyKwargs;
    for (auto it = kwargs.cbegin(); it != kwargs.cend(); ++it)
        pyKwargs[pyString(it.key())] = toPython(it.value());
    py::object result = steal(
        PyObject_Call(callable.ptr(), pyArgs.ptr(), kwargs.isEmpty() ? nullptr : pyKwargs.ptr()));
    return toVariant(result);
}

void setVariable(PyObject *object, const QString &name, py::handle value)
{
    const py::object key = pyString(name);
    if (isNamespace(object)) {
        if (PyDict_SetItem(namespaceOf(object).ptr(), key.ptr(), value.ptr()) < 0)
            throw py::error_already_set();
        return;
    }
    if (!object)
        raise(PyExc_TypeError, "no module or object given");
    if (PyObject_SetAttr(object, key.ptr(), value.ptr()) < 0)
        throw py::error_already_set();
}

void writeToStream(const StreamWriter &writer, py::handle text)
{
    if (!PyUnicode_Check(text.ptr()))
        raise(PyExc_TypeError,
              std::string("write() argument must be str, not ") + Py_TYPE(text.ptr())->tp_name);
    const QString written = toQString(text);
    if (written.isEmpty())
        return;
    PythonQt *self = PythonQt::self();
    if (!self) {
        // A writer that outlived the layer, kept by some Python object.
        const QByteArray bytes = written.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), writer.error ? stderr : stdout);
        return;
    }
    if (writer.error)
        emit self->pythonStdErr(written);
    else
        emit self->pythonStdOut(written);
}

void redirectStreams()
{
    py::object helpers = helperModule();
    py::module_ sys = py::module_::import("sys");
    helpers.attr("saved_stdout") = py::getattr(sys, "stdout", py::none());
    helpers.attr("saved_stderr") = py::getattr(sys, "stderr", py::none());
    sys.attr("stdout") = py::cast(StreamWriter{false});
    sys.attr("stderr") = py::cast(StreamWriter{true});
}

// Gives sys.stdout and sys.stderr back, unless someone replaced the writers since.
void restoreStreams()
{
    py::module_ sys = py::module_::import("sys");
    py::dict modules = sys.attr("modules");
    if (!modules.contains(HelperModuleName))
        return;
    py::object helpers = modules[HelperModuleName];
    for (const char *stream : {"stdout", "stderr"}) {
        const std::string saved = std::string("saved_") + stream;
        if (!py::hasattr(helpers, saved.c_str()))
            continue;
        if (py::isinstance<StreamWriter>(py::getattr(sys, stream, py::none())))
            sys.attr(stream) = helpers.attr(saved.c_str());
        py::delattr(helpers, saved.c_str());
    }
}

} // namespace

namespace Editor2Python {

py::module_ helperModule()
{
    py::dict modules = py::module_::import("sys").attr("modules");
    if (modules.contains(HelperModuleName))
        return py::reinterpret_borrow<py::module_>(modules[HelperModuleName]);
    auto module = py::reinterpret_steal<py::module_>(PyModule_New(HelperModuleName));
    if (!module)
        throw py::error_already_set();
    registerObjectView(module);
    if (!py::detail::get_type_info(typeid(StreamWriter))) {
        py::class_<StreamWriter>(module, "StreamWriter", py::module_local())
            .def("write",
                 [](const StreamWriter &writer, py::handle text) {
                     writeToStream(writer, text);
                     return PyUnicode_GET_LENGTH(text.ptr());
                 })
            .def("flush", [](const StreamWriter &) {})
            .def("isatty", [](const StreamWriter &) { return false; })
            .def_property_readonly("encoding", [](const StreamWriter &) { return "utf-8"; });
    }
    modules[HelperModuleName] = module;
    return module;
}

} // namespace Editor2Python

// Runs the layer's work on Python objects under the interpreter lock and keeps
// every error inside: it is printed as Python prints it and the call's result
// is empty.
class PythonQtPrivate
{
public:
    template<typename Body> static auto run(PythonQt *self, Body &&body) -> decltype(body())
    {
        using Result = decltype(body());
        if (!Py_IsInitialized()) {
            // The host finalised its interpreter under the layer.
            self->m_hadError = true;
            return Result();
        }
        GilLock lock;
        Result result{};
        bool failed = true;
        try {
            result = body();
            failed = false;
        } catch (py::error_already_set &error) {
            error.restore();
        } catch (py::builtin_exception &error) {
            error.set_error();
        } catch (const std::exception &error) {
            PyErr_SetString(PyExc_RuntimeError, error.what());
        } catch (...) {
            PyErr_SetString(PyExc_RuntimeError, "unknown C++ exception");
        }
        if (failed)
            printError();
        self->m_hadError = failed;
        return result;
    }
};

PythonQt::PythonQt(int flags)
{
    PythonQtPrivate::run(this, [flags] {
        if (!s_atExitRegistered)
            s_atExitRegistered = Py_AtExit(&afterFinalize) == 0;
        helperModule();
        if (flags & RedirectStdOut)
            redirectStreams();
        return true;
    });
}

PythonQt::~PythonQt() = default;

void PythonQt::init(int flags, const QByteArray &pythonQtModuleName)
{
    // The layer has no Python module of its own to name.
    Q_UNUSED(pythonQtModuleName)
    if (s_self)
        return;
    const bool running = Py_IsInitialized();
    if (!running && (flags & PythonAlreadyInitialized)) {
        qWarning("PythonQt: no Python interpreter is running; Python is not available");
        return;
    }
    promoteLibPython();
    // Invokable methods of host objects return these; a call can only receive
    // a type that is registered by name.
    qRegisterMetaType<QList<QObject *>>("QList<QObject*>");
    qRegisterMetaType<QObjectList>("QObjectList");
    if (!running && !startInterpreter(flags))
        return;
    s_self = new PythonQt(flags);
    s_self->m_ownsInterpreter = !running;
}

void PythonQt::cleanup()
{
    PythonQt *self = s_self;
    if (!self)
        return;
    if (Py_IsInitialized()) {
        PythonQtPrivate::run(self, [] {
            restoreStreams();
            return true;
        });
    }
    s_self = nullptr;
    if (self->m_ownsInterpreter && Py_IsInitialized() && s_savedThread) {
        PyEval_RestoreThread(s_savedThread);
        s_savedThread = nullptr;
        Py_FinalizeEx();
    }
    delete self;
}

PythonQt *PythonQt::self()
{
    return s_self;
}

PythonQtObjectPtr PythonQt::getMainModule()
{
    return PythonQtPrivate::run(this, [] {
        PyObject *main = PyImport_AddModule("__main__");
        if (!main)
            throw py::error_already_set();
        return PythonQtObjectPtr(main);
    });
}

PythonQtObjectPtr PythonQt::importModule(const QString &name)
{
    return PythonQtPrivate::run(this, [&name] {
        PythonQtObjectPtr module;
        module.setNewRef(steal(PyImport_Import(pyString(name).ptr())).release().ptr());
        return module;
    });
}

PythonQtObjectPtr PythonQt::createModuleFromScript(const QString &name, const QString &script)
{
    PythonQtObjectPtr module = PythonQtPrivate::run(this, [&name] {
        if (name.isEmpty())
            raise(PyExc_ValueError, "a module needs a name");
        const py::object pyName = pyString(name);
        py::object created = steal(PyModule_NewObject(pyName.ptr()));
        namespaceOf(created.ptr())["__builtins__"] =
            py::reinterpret_borrow<py::object>(PyEval_GetBuiltins());
        py::module_::import("sys").attr("modules")[pyName] = created;
        PythonQtObjectPtr result;
        result.setNewRef(created.release().ptr());
        return result;
    });
    if (!module.isNull() && !script.isEmpty())
        evalScript(module, script, Py_file_input);
    return module;
}

QVariant PythonQt::evalScript(PyObject *object, const QString &script, int start)
{
    return PythonQtPrivate::run(this, [&] {
        if (start != Py_single_input && start != Py_file_input && start != Py_eval_input)
            raise(PyExc_ValueError, "unknown start symbol " + std::to_string(start));
        const py::dict globals = namespaceOf(object);
        if (!globals.contains("__builtins__"))
            globals["__builtins__"] = py::reinterpret_borrow<py::object>(PyEval_GetBuiltins());
        const QByteArray source = script.toUtf8();
        if (source.contains('\0'))
            raise(PyExc_ValueError, "source code cannot contain null bytes");
        PyCompilerFlags flags = _PyCompilerFlags_INIT;
        flags.cf_flags = PyCF_SOURCE_IS_UTF8;
        const py::object code =
            steal(Py_CompileStringExFlags(source.constData(), "<string>", start, &flags, -1));
        const py::object result = steal(PyEval_EvalCode(code.ptr(), globals.ptr(), globals.ptr()));
        return toVariant(result);
    });
}

QVariant PythonQt::call(PyObject *object, const QString &callable, const QVariantList &args,
                        const QVariantMap &kwargs)
{
    return PythonQtPrivate::run(this, [&] {
        const py::object function = lookup(object, callable);
        if (!function)
            raise(PyExc_NameError, "name '" + callable.toStdString() + "' is not defined");
        return callObject(function, args, kwargs);
    });
}

QVariant PythonQt::call(PyObject *callable, const QVariantList &args, const QVariantMap &kwargs)
{
    return PythonQtPrivate::run(this, [&] {
        if (!callable)
            raise(PyExc_TypeError, "no callable given");
        return callObject(callable, args, kwargs);
    });
}

void PythonQt::addObject(PyObject *object, const QString &name, QObject *qObject)
{
    PythonQtPrivate::run(this, [&] {
        setVariable(object, name, makeObjectView(qObject));
        return true;
    });
}

void PythonQt::addVariable(PyObject *object, const QString &name, const QVariant &value)
{
    PythonQtPrivate::run(this, [&] {
        setVariable(object, name, toPython(value));
        return true;
    });
}

void PythonQt::removeVariable(PyObject *object, const QString &name)
{
    PythonQtPrivate::run(this, [&] {
        const py::object key = pyString(name);
        if (isNamespace(object)) {
            if (PyDict_DelItem(namespaceOf(object).ptr(), key.ptr()) < 0) {
                if (!PyErr_ExceptionMatches(PyExc_KeyError))
                    throw py::error_already_set();
                PyErr_Clear();
            }
        } else if (!object) {
            raise(PyExc_TypeError, "no module or object given");
        } else if (PyObject_DelAttr(object, key.ptr()) < 0) {
            if (!PyErr_ExceptionMatches(PyExc_AttributeError))
                throw py::error_already_set();
            PyErr_Clear();
        }
        return true;
    });
}

PythonQtObjectPtr PythonQt::lookupObject(PyObject *object, const QString &name)
{
    // Not through run(): like PythonQt's, it neither prints nor touches hadError().
    PythonQtObjectPtr result;
    if (!object || !Py_IsInitialized())
        return result;
    GilLock lock;
    PyObject *current = object;
    Py_INCREF(current);
    const QStringList parts = name.split(QLatin1Char('.'));
    for (const QString &part : parts) {
        const QByteArray key = part.toUtf8();
        PyObject *next = nullptr;
        if (PyDict_Check(current)) {
            next = PyDict_GetItemString(current, key.constData());
            Py_XINCREF(next);
        } else {
            next = PyObject_GetAttrString(current, key.constData());
        }
        Py_DECREF(current);
        current = next;
        if (!current)
            break;
    }
    PyErr_Clear();
    result.setNewRef(current);
    return result;
}

bool PythonQt::handleError(bool printStack)
{
    if (!Py_IsInitialized()) {
        m_hadError = false;
        return false;
    }
    GilLock lock;
    m_hadError = PyErr_Occurred() != nullptr;
    printError(printStack);
    return m_hadError;
}

QVariant PythonQt::getVariable(PyObject *object, const QString &name)
{
    return PythonQtPrivate::run(this, [&] {
        const py::object value = lookup(object, name);
        return value ? toVariant(value) : QVariant();
    });
}
