#include "hostcall.h"

#include <QMetaObject>

namespace HostCall {

QVariant read(const QObject *object, const char *name, bool *ok)
{
    QVariant value;
    if (object)
        value = object->property(name);
    if (ok)
        *ok = value.isValid();
    return value;
}

bool write(QObject *object, const char *name, const QVariant &value)
{
    if (!object)
        return false;
    object->setProperty(name, value);
    return true;
}

bool invoke(QObject *object, const char *method, QGenericReturnArgument result, QGenericArgument a0,
            QGenericArgument a1, QGenericArgument a2, QGenericArgument a3)
{
    if (!object)
        return false;
    return QMetaObject::invokeMethod(object, method, result, a0, a1, a2, a3);
}

} // namespace HostCall
