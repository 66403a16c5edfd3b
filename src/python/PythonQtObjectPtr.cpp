#include "pythonqt_p.h"

#include "PythonQt.h"
#include "PythonQtObjectPtr.h"

#include <utility>

namespace {

// Swaps the held reference under the interpreter lock. After the interpreter
// was finalised the old object is gone with it: only the pointer is dropped.
void exchange(PyObject *&held, PyObject *object, bool addReference)
{
    PyObject *old = held;
    held = object;
    if (!Py_IsInitialized())
        return;
    if (!(object && addReference) && !old)
        return;
    Editor2Python::GilLock lock;
    if (addReference)
        Py_XINCREF(object);
    Py_XDECREF(old);
}

} // namespace

PythonQtObjectPtr::PythonQtObjectPtr(PyObject *object)
{
    setObject(object);
}

PythonQtObjectPtr::PythonQtObjectPtr(const PythonQtObjectPtr &other)
{
    setObject(other.m_object);
}

PythonQtObjectPtr::PythonQtObjectPtr(PythonQtObjectPtr &&other) noexcept
    : m_object(std::exchange(other.m_object, nullptr))
{
}

PythonQtObjectPtr::~PythonQtObjectPtr()
{
    setObject(nullptr);
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(const PythonQtObjectPtr &other)
{
    setObject(other.m_object);
    return *this;
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(PythonQtObjectPtr &&other) noexcept
{
    if (this != &other) {
        PyObject *object = std::exchange(other.m_object, nullptr);
        exchange(m_object, object, false);
    }
    return *this;
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(PyObject *object)
{
    setObject(object);
    return *this;
}

void PythonQtObjectPtr::setNewRef(PyObject *object)
{
    exchange(m_object, object, false);
}

void PythonQtObjectPtr::setObject(PyObject *object)
{
    if (object != m_object)
        exchange(m_object, object, true);
}

QVariant PythonQtObjectPtr::evalScript(const QString &script, int start)
{
    PythonQt *python = PythonQt::self();
    return python ? python->evalScript(m_object, script, start) : QVariant();
}

QVariant PythonQtObjectPtr::call(const QString &callable, const QVariantList &args,
                                 const QVariantMap &kwargs)
{
    PythonQt *python = PythonQt::self();
    return python ? python->call(m_object, callable, args, kwargs) : QVariant();
}

QVariant PythonQtObjectPtr::call(const QVariantList &args, const QVariantMap &kwargs)
{
    PythonQt *python = PythonQt::self();
    return python ? python->call(m_object, args, kwargs) : QVariant();
}

void PythonQtObjectPtr::addObject(const QString &name, QObject *object)
{
    if (PythonQt *python = PythonQt::self())
        python->addObject(m_object, name, object);
}

void PythonQtObjectPtr::addVariable(const QString &name, const QVariant &value)
{
    if (PythonQt *python = PythonQt::self())
        python->addVariable(m_object, name, value);
}

void PythonQtObjectPtr::removeVariable(const QString &name)
{
    if (PythonQt *python = PythonQt::self())
        python->removeVariable(m_object, name);
}

QVariant PythonQtObjectPtr::getVariable(const QString &name)
{
    PythonQt *python = PythonQt::self();
    return python ? python->getVariable(m_object, name) : QVariant();
}
