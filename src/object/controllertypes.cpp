#include "controllertypes.h"

namespace ControllerTypes {

int itemForType(const QStringList &labels, const QString &type)
{
    if (type.isEmpty())
        return 0;
    const int index = labels.indexOf(type);
    return index < 0 ? labels.size() : index;
}

} // namespace ControllerTypes
