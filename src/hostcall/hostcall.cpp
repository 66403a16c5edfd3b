#include "hostcall.h"

#include <QByteArray>
#include <QMetaObject>

#include <initializer_list>

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

bool hasMethod(const QObject *object, const char *signature)
{
    if (!object)
        return false;
    const QMetaObject *meta = object->metaObject();
    return meta->indexOfMethod(signature) >= 0
           || meta->indexOfMethod(QMetaObject::normalizedSignature(signature).constData()) >= 0;
}

// Asking first keeps a missing method a silent skip: invokeMethod itself
// would print a warning for every miss.
static bool hasMethodFor(const QObject *object, const char *method,
                         std::initializer_list<const QGenericArgument *> arguments)
{
    QByteArray signature(method);
    signature += '(';
    bool first = true;
    for (const QGenericArgument *argument : arguments) {
        if (!argument->name())
            break;
        if (!first)
            signature += ',';
        signature += argument->name();
        first = false;
    }
    signature += ')';
    return hasMethod(object, signature.constData());
}

bool invoke(QObject *object, const char *method, QGenericReturnArgument result, QGenericArgument a0,
            QGenericArgument a1, QGenericArgument a2, QGenericArgument a3)
{
    if (!object || !hasMethodFor(object, method, {&a0, &a1, &a2, &a3}))
        return false;
    return QMetaObject::invokeMethod(object, method, result, a0, a1, a2, a3);
}

} // namespace HostCall
