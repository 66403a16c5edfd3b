#include "pythoncall.h"

#include <PythonQt.h>

namespace PythonCall {

namespace {

// Whether the last call of `python` raised. Any error PythonQt left pending
// after it (from converting an odd result) is printed and cleared; the
// layer's own calls leave none.
bool raised(PythonQt *python)
{
    const bool hadError = python->hadError();
    python->handleError();
    return hadError;
}

} // namespace

void adoptInterpreter()
{
    PythonQt::init(PythonQt::PythonAlreadyInitialized, QByteArray());
}

struct MainModule::Handle
{
    PythonQt *python = PythonQt::self();
    PythonQtObjectPtr module;
};

MainModule::MainModule()
    : m_handle(new Handle)
{
    if (m_handle->python)
        m_handle->module = m_handle->python->getMainModule();
}

MainModule::~MainModule() = default;

bool MainModule::isNull() const
{
    return !m_handle->python || m_handle->module.isNull();
}

QVariant MainModule::evaluate(const QString &expression, bool *ok) const
{
    return evalScript(expression, Py_eval_input, ok);
}

bool MainModule::run(const QString &statements) const
{
    bool ok = false;
    evalScript(statements, Py_file_input, &ok);
    return ok;
}

QVariant MainModule::evalScript(const QString &script, int start, bool *ok) const
{
    bool evaluated = false;
    QVariant value;
    if (!isNull()) {
        m_handle->python->clearError();
        value = m_handle->python->evalScript(m_handle->module, script, start);
        evaluated = !raised(m_handle->python);
    }
    if (ok)
        *ok = evaluated;
    return value;
}

QVariant MainModule::call(const QString &name, bool *ok) const
{
    bool called = false;
    QVariant result;
    if (!isNull()) {
        m_handle->python->clearError();
        result = m_handle->python->call(m_handle->module, name, QVariantList(), QVariantMap());
        called = !raised(m_handle->python);
    }
    if (ok)
        *ok = called;
    return result;
}

void MainModule::bind(const QString &name, const QVariant &value) const
{
    if (isNull())
        return;
    m_handle->python->addVariable(m_handle->module, name, value);
    m_handle->python->handleError();
}

void MainModule::unbind(const QString &name) const
{
    if (!isNull() && !m_handle->python->lookupObject(m_handle->module, name).isNull())
        m_handle->python->removeVariable(m_handle->module, name);
}

} // namespace PythonCall
