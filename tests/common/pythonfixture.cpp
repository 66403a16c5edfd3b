#include "pythonfixture.h"

#include <PythonQt.h>

#include <QVariant>

namespace PythonFixture {

bool start()
{
    PythonQt::init();
    return PythonQt::self() != nullptr;
}

void stop()
{
    PythonQt::cleanup();
}

bool usable()
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
