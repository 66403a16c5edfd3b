#include "pythoncall.h"

#include <PythonQt.h>

namespace PythonCall {

QVariant evaluate(const PythonQtObjectPtr &module, const QString &script, int start, bool *ok)
{
    PythonQt *python = PythonQt::self();
    bool evaluated = false;
    QVariant value;
    if (python && !module.isNull()) {
        python->clearError();
        value = python->evalScript(module, script, start);
        evaluated = !python->hadError();
        // PythonQt can leave an error from converting an odd result.
        python->handleError();
    }
    if (ok)
        *ok = evaluated;
    return value;
}

void unbind(const PythonQtObjectPtr &module, const QString &name)
{
    PythonQt *python = PythonQt::self();
    if (python && !module.isNull() && !python->lookupObject(module, name).isNull())
        python->removeVariable(module, name);
}

} // namespace PythonCall
