#pragma once

#include <QString>
#include <QVariant>

#include <memory>

// Python calls in the interpreter's main module, where the host's snippets
// run, made the same way with the project's layer and with PythonQt: neither
// a Python error nor a missing interpreter reaches the caller, and no call
// leaves an error pending for the host's next Python call.
namespace PythonCall {

// Lets the calls use the interpreter the host started.
void adoptInterpreter();

// The main module, looked up once for the calls made through it. Without an
// interpreter it is null, and every call fails and changes nothing.
class MainModule
{
public:
    MainModule();
    ~MainModule();
    MainModule(const MainModule &) = delete;
    MainModule &operator=(const MainModule &) = delete;

    bool isNull() const;

    // The value of `expression` (start token 258); *ok is false when there
    // is no interpreter or Python raised.
    QVariant evaluate(const QString &expression, bool *ok = nullptr) const;

    // Runs `statements` as a file (start token 257), as an import or an
    // assignment is run; false when there is no interpreter or Python raised.
    bool run(const QString &statements) const;

    // The result of calling `name` without arguments; *ok is false when
    // there is no interpreter or Python raised.
    QVariant call(const QString &name, bool *ok = nullptr) const;

    // Binds `name` to `value` as a Python value, so that a text reaches
    // Python as data and is never run as code.
    void bind(const QString &name, const QVariant &value) const;

    // Removes `name` if it is bound: PythonQt's removal of a missing name
    // leaves an error set, and Python code may have removed it.
    void unbind(const QString &name) const;

private:
    QVariant evalScript(const QString &script, int start, bool *ok) const;

    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

} // namespace PythonCall
