#pragma once

#include "editor2python_export.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The interpreter's own object type, declared as CPython declares it, so that
// this header stays free of <Python.h>.
struct _object;
typedef _object PyObject;

// A counted reference to a Python object, shaped like PythonQt's class of the
// same name. Every operation takes the interpreter lock itself.
class EDITOR2_PYTHON_EXPORT PythonQtObjectPtr
{
public:
    PythonQtObjectPtr() = default;
    PythonQtObjectPtr(PyObject *object);
    PythonQtObjectPtr(const PythonQtObjectPtr &other);
    PythonQtObjectPtr(PythonQtObjectPtr &&other) noexcept;
    ~PythonQtObjectPtr();

    PythonQtObjectPtr &operator=(const PythonQtObjectPtr &other);
    PythonQtObjectPtr &operator=(PythonQtObjectPtr &&other) noexcept;
    PythonQtObjectPtr &operator=(PyObject *object);

    bool operator==(const PythonQtObjectPtr &other) const { return m_object == other.m_object; }
    bool operator!=(const PythonQtObjectPtr &other) const { return m_object != other.m_object; }

    bool isNull() const { return m_object == nullptr; }
    PyObject *object() const { return m_object; }
    operator PyObject *() const { return m_object; }

    // Takes over a new reference without adding one of its own.
    void setNewRef(PyObject *object);

    QVariant evalScript(const QString &script, int start = 257);
    QVariant call(const QString &callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    QVariant call(const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    void addObject(const QString &name, QObject *object);
    void addVariable(const QString &name, const QVariant &value);
    void removeVariable(const QString &name);
    QVariant getVariable(const QString &name);

private:
    void setObject(PyObject *object);

    PyObject *m_object = nullptr;
};

Q_DECLARE_METATYPE(PythonQtObjectPtr)
