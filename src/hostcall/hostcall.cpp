#include "hostcall.h"

#include <QByteArray>
#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>

namespace HostCall {

namespace {

// Whether a parameter is of the type named; one unknown to the meta-type
// system goes by the name the signature gives it.
bool isOfType(const QMetaMethod &method, int index, const char *name)
{
    const int type = method.parameterType(index);
    if (type != QMetaType::UnknownType)
        return qstrcmp(QMetaType::typeName(type), name) == 0;
    return method.parameterTypes().at(index) == name;
}

// Whether the arguments given are those the method takes, in number and type.
bool takes(const QMetaMethod &method, std::initializer_list<const QGenericArgument *> arguments)
{
    int count = 0;
    for (const QGenericArgument *argument : arguments) {
        if (!argument->name())
            break;
        if (count >= method.parameterCount() || !isOfType(method, count, argument->name()))
            return false;
        ++count;
    }
    return count == method.parameterCount();
}

} // namespace

namespace Detail {

QMetaProperty findProperty(const QMetaObject *meta, const char *name)
{
    const int index = meta->indexOfProperty(name);
    return index >= 0 ? meta->property(index) : QMetaProperty();
}

QMetaMethod findMethod(const QMetaObject *meta, const char *signature)
{
    int index = meta->indexOfMethod(signature);
    if (index < 0)
        index = meta->indexOfMethod(QMetaObject::normalizedSignature(signature).constData());
    return index >= 0 ? meta->method(index) : QMetaMethod();
}

} // namespace Detail

// A property the class does not declare may still be a dynamic one of the
// object, which only the by-name calls reach; one it declares read-only or
// write-only fails there as it would here.
QVariant read(const QObject *object, const Property &property, bool *ok)
{
    QVariant value;
    if (object) {
        const QMetaProperty declared = property.in(object->metaObject());
        value = declared.isReadable() ? declared.read(object) : object->property(property.name());
    }
    if (ok)
        *ok = value.isValid();
    return value;
}

bool write(QObject *object, const Property &property, const QVariant &value)
{
    if (!object)
        return false;
    const QMetaProperty declared = property.in(object->metaObject());
    if (declared.isWritable())
        declared.write(object, value);
    else
        object->setProperty(property.name(), value);
    return true;
}

bool hasMethod(const QObject *object, const Method &method)
{
    return object && method.in(object->metaObject()).isValid();
}

// Looking the method up first keeps a missing one a silent skip:
// QMetaObject::invokeMethod would print a warning for every miss.
bool invoke(QObject *object, const Method &method, QGenericReturnArgument result,
            QGenericArgument a0, QGenericArgument a1, QGenericArgument a2, QGenericArgument a3)
{
    if (!object)
        return false;
    const QMetaMethod metaMethod = method.in(object->metaObject());
    if (!metaMethod.isValid() || !takes(metaMethod, {&a0, &a1, &a2, &a3}))
        return false;
    return metaMethod.invoke(object, Qt::AutoConnection, result, a0, a1, a2, a3);
}

} // namespace HostCall
