#include "objectidentifier.h"

namespace ObjectIdentifier {

int effective(int loaded, int shown)
{
    return loaded > Maximum && shown == Maximum ? loaded : shown;
}

bool isValid(int id)
{
    return id > 0;
}

bool needsUniquenessCheck(int loaded, int id)
{
    return loaded <= 0 || id != loaded;
}

} // namespace ObjectIdentifier
