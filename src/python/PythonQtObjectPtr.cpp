// Placeholder until the layer over CPython lands.
#include "PythonQtObjectPtr.h"

PythonQtObjectPtr::PythonQtObjectPtr(PyObject *) {}
PythonQtObjectPtr::PythonQtObjectPtr(const PythonQtObjectPtr &) {}
PythonQtObjectPtr::PythonQtObjectPtr(PythonQtObjectPtr &&) noexcept {}
PythonQtObjectPtr::~PythonQtObjectPtr() = default;
PythonQtObjectPtr &PythonQtObjectPtr::operator=(const PythonQtObjectPtr &) { return *this; }
PythonQtObjectPtr &PythonQtObjectPtr::operator=(PythonQtObjectPtr &&) noexcept { return *this; }
PythonQtObjectPtr &PythonQtObjectPtr::operator=(PyObject *) { return *this; }
void PythonQtObjectPtr::setNewRef(PyObject *) {}
QVariant PythonQtObjectPtr::evalScript(const QString &, int) { return {}; }
QVariant PythonQtObjectPtr::call(const QString &, const QVariantList &, const QVariantMap &) { return {}; }
QVariant PythonQtObjectPtr::call(const QVariantList &, const QVariantMap &) { return {}; }
void PythonQtObjectPtr::addObject(const QString &, QObject *) {}
void PythonQtObjectPtr::addVariable(const QString &, const QVariant &) {}
void PythonQtObjectPtr::removeVariable(const QString &) {}
QVariant PythonQtObjectPtr::getVariable(const QString &) { return {}; }
void PythonQtObjectPtr::setObject(PyObject *) {}
