// Placeholder until the layer over CPython lands.
#include "PythonQt.h"

static PythonQt *s_self = nullptr;

PythonQt::PythonQt(int) {}
PythonQt::~PythonQt() = default;
void PythonQt::init(int, const QByteArray &) {}
void PythonQt::cleanup() {}
PythonQt *PythonQt::self() { return s_self; }
PythonQtObjectPtr PythonQt::getMainModule() { return {}; }
PythonQtObjectPtr PythonQt::importModule(const QString &) { return {}; }
PythonQtObjectPtr PythonQt::createModuleFromScript(const QString &, const QString &) { return {}; }
QVariant PythonQt::evalScript(PyObject *, const QString &, int) { return {}; }
QVariant PythonQt::call(PyObject *, const QString &, const QVariantList &, const QVariantMap &) { return {}; }
QVariant PythonQt::call(PyObject *, const QVariantList &, const QVariantMap &) { return {}; }
void PythonQt::addObject(PyObject *, const QString &, QObject *) {}
void PythonQt::addVariable(PyObject *, const QString &, const QVariant &) {}
void PythonQt::removeVariable(PyObject *, const QString &) {}
QVariant PythonQt::getVariable(PyObject *, const QString &) { return {}; }
