#pragma once

// Private to the Python layer. Include it first in a .cpp file: CPython's
// headers must be read before any Qt header defines `slots`.
#include <pybind11/embed.h>

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace py = pybind11;

namespace Editor2Python {

// Holds the interpreter lock for one scope, whether or not the calling thread
// held it already. Only valid while an interpreter runs.
class GilLock
{
public:
    GilLock()
        : m_state(PyGILState_Ensure())
    {
    }
    ~GilLock() { PyGILState_Release(m_state); }
    GilLock(const GilLock &) = delete;
    GilLock &operator=(const GilLock &) = delete;

private:
    PyGILState_STATE m_state;
};

// Lets other Python threads run for one scope while C++ code works (a slot
// may open a modal dialog). The calling thread must hold the lock.
class GilRelease
{
public:
    GilRelease()
        : m_state(PyEval_SaveThread())
    {
    }
    ~GilRelease() { PyEval_RestoreThread(m_state); }
    GilRelease(const GilRelease &) = delete;
    GilRelease &operator=(const GilRelease &) = delete;

private:
    PyThreadState *m_state;
};

// Converts between QVariant and Python. Both need the interpreter lock and
// never leave a Python error set: a value without a conversion becomes None
// one way and an invalid QVariant the other way.
py::object toPython(const QVariant &value);
QVariant toVariant(py::handle object);
QString toQString(py::handle object);
// Converts for a slot parameter or a property of the given meta type; false
// when the value cannot become that type.
bool toVariantOfType(py::handle object, int metaType, QVariant *result);

// The Python view of a QObject: attributes are its properties, invokable
// methods and slots. Registered once per interpreter in the layer's private
// module.
struct ObjectView
{
    QPointer<QObject> object;
};

void registerObjectView(py::module_ &scope);
// The layer's own module of the running interpreter, holding the view and the
// stream types; created and registered in sys.modules on first use.
py::module_ helperModule();
py::object makeObjectView(QObject *object);
// The QObject behind a view; false when `object` is no view.
bool objectFromView(py::handle object, QObject **result);

} // namespace Editor2Python
