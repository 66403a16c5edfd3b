#pragma once

#include <QMetaMethod>
#include <QMetaProperty>
#include <QMetaType>
#include <QObject>
#include <QVariant>

#include <array>

// By-name access to the host's objects, through the handles of
// hostcontract.h: every miss is reported by a success flag, never by an
// exception or a warning, so that it only skips one step.
namespace HostCall {

namespace Detail {
QMetaProperty findProperty(const QMetaObject *meta, const char *name);
QMetaMethod findMethod(const QMetaObject *meta, const char *signature);

// A member of the host's classes by its name, with what it was found to be
// in the last few classes it was looked up in: host objects are many of few
// classes, and their meta-objects live as long as the process. GUI thread
// only.
template<typename Found, Found (*find)(const QMetaObject *, const char *)> class Handle
{
public:
    constexpr explicit Handle(const char *name)
        : m_name(name)
    {
    }
    const char *name() const { return m_name; }
    // What the class has by that name; an invalid one when it has nothing.
    const Found &in(const QMetaObject *meta) const
    {
        for (const Entry &entry : m_entries) {
            if (entry.meta == meta)
                return entry.found;
        }
        Entry &entry = m_entries[m_next++ % m_entries.size()];
        entry.meta = meta;
        entry.found = find(meta, m_name);
        return entry.found;
    }

private:
    struct Entry
    {
        const QMetaObject *meta = nullptr;
        Found found;
    };
    const char *m_name;
    mutable std::array<Entry, 4> m_entries{};
    mutable unsigned m_next = 0;
};
} // namespace Detail

// A property of the host's classes, by name.
using Property = Detail::Handle<QMetaProperty, Detail::findProperty>;
// An invokable method (or slot or signal) of the host's classes, by its
// normalized signature, for example "createPhase(int,QString)".
using Method = Detail::Handle<QMetaMethod, Detail::findMethod>;

// The property's value; *ok is false when the object is null or the value is
// invalid (no such property).
QVariant read(const QObject *object, const Property &property, bool *ok = nullptr);

// Sets a property; false when the object is null. Note that setting an
// unknown name creates a dynamic property, as QObject::setProperty does.
bool write(QObject *object, const Property &property, const QVariant &value);

// Whether the object has the method; false for a null object.
bool hasMethod(const QObject *object, const Method &method);

// Calls the method with the default connection type; false when the object is
// null, lacks the method, or the arguments or the asked result are not of
// the method's types.
bool invoke(QObject *object, const Method &method, QGenericReturnArgument result,
            QGenericArgument a0 = QGenericArgument(), QGenericArgument a1 = QGenericArgument(),
            QGenericArgument a2 = QGenericArgument(), QGenericArgument a3 = QGenericArgument());

namespace Detail {
template<typename T> QGenericArgument argument(const T &value)
{
    return QGenericArgument(QMetaType::typeName(qMetaTypeId<T>()), &value);
}
} // namespace Detail

// Calls a method without looking at any result.
template<typename... Args> bool call(QObject *object, const Method &method, const Args &...args)
{
    static_assert(sizeof...(Args) <= 4, "at most four arguments");
    return invoke(object, method, QGenericReturnArgument(), Detail::argument(args)...);
}

// Calls a method that returns R; *ok tells whether the call was made. On
// failure the result is a default-constructed R.
template<typename R, typename... Args>
R callFor(QObject *object, const Method &method, bool *ok, const Args &...args)
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
