#pragma once

#include <PythonQtObjectPtr.h>

#include <QString>
#include <QVariant>

// Python calls made the same way with the project's layer and with PythonQt,
// neither leaving an error pending for the host's next Python call.
namespace PythonCall {

// Evaluates `script` in `module` with a start token of PythonQt::evalScript;
// *ok is false when there is no interpreter or module or Python raised.
QVariant evaluate(const PythonQtObjectPtr &module, const QString &script, int start,
                  bool *ok = nullptr);

// Removes `name` from `module` if it is bound there: PythonQt's removal of a
// missing name leaves an error set, and Python code may have removed it.
void unbind(const PythonQtObjectPtr &module, const QString &name);

} // namespace PythonCall
