#pragma once

#include <PythonQt.h>

#include <QVariant>

// The interpreter that a test's widgets call into, started as the host
// starts it: in initTestCase, and ended in cleanupTestCase.
namespace PythonFixture {

// Starts the interpreter; false when it did not start.
inline bool start()
{
    PythonQt::init();
    return PythonQt::self() != nullptr;
}

inline void stop()
{
    PythonQt::cleanup();
}

// No Python error is pending, and the next evaluation in the main module
// works and leaves none pending.
inline bool usable()
{
    PythonQt *python = PythonQt::self();
    if (!python || python->handleError())
        return false;
    const QVariant value =
        python->evalScript(python->getMainModule(), QStringLiteral("6 * 7"), Py_eval_input);
    const bool evaluated = !python->hadError() && value == QVariant(42);
    return !python->handleError() && evaluated;
}

} // namespace PythonFixture
