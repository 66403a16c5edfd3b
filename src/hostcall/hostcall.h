#pragma once

#include <QMetaType>
#include <QObject>
#include <QVariant>

// By-name access to the host's objects.
//
// The plug-in shares no types with its host: it reads and writes properties by
// name and calls invokable methods by name and signature. These helpers make
// every such access report failure the same way (a success flag, never an
// exception), so that a missing property or method only skips one step.
namespace HostCall {

// The property's value; *ok is false when the object is null or the value is
// invalid (no such property).
QVariant read(const QObject *object, const char *name, bool *ok = nullptr);

// Sets a property; false when the object is null. Note that setting an
// unknown name creates a dynamic property, as QObject::setProperty does.
bool write(QObject *object, const char *name, const QVariant &value);

// Whether the object has an invokable method (or slot or signal) with this
// signature, for example "createPhase(int,QString)"; false for a null object.
bool hasMethod(const QObject *object, const char *signature);

// QMetaObject::invokeMethod with the default connection type; false when the
// object is null or has no invokable method of that name and those argument
// types (including the return type, when one is asked for).
bool invoke(QObject *object, const char *method, QGenericReturnArgument result,
            QGenericArgument a0 = QGenericArgument(), QGenericArgument a1 = QGenericArgument(),
            QGenericArgument a2 = QGenericArgument(), QGenericArgument a3 = QGenericArgument());

namespace Detail {
template<typename T> QGenericArgument argument(const T &value)
{
    return QGenericArgument(QMetaType::typeName(qMetaTypeId<T>()), &value);
}
} // namespace Detail

// Calls a method without looking at any result.
template<typename... Args> bool call(QObject *object, const char *method, const Args &...args)
{
    static_assert(sizeof...(Args) <= 4, "at most four arguments");
    return invoke(object, method, QGenericReturnArgument(), Detail::argument(args)...);
}

// Calls a method that returns R; *ok tells whether the call was made. On
// failure the result is a default-constructed R.
template<typename R, typename... Args>
R callFor(QObject *object, const char *method, bool *ok, const Args &...args)
{
    static_assert(sizeof...(Args) <= 4, "at most four arguments");
    R result{};
    const bool done = invoke(object, method,
                             QGenericReturnArgument(QMetaType::typeName(qMetaTypeId<R>()), &result),
                             Detail::argument(args)...);
    if (ok)
        *ok = done;
    return done ? result : R{};
}

} // namespace HostCall
