#include "pythonqt_p.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace Editor2Python {

namespace {

constexpr int MaxArguments = 10;

QObject *liveObject(const ObjectView &view)
{
    if (!view.object)
        throw std::runtime_error("the QObject behind this view has been deleted");
    return view.object.data();
}

std::string className(const QObject *object)
{
    return object->metaObject()->className();
}

bool isCallable(const QMetaMethod &method)
{
    return method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot;
}

bool hasCallable(const QMetaObject *metaObject, const QByteArray &name)
{
    for (int i = 0; i < metaObject->methodCount(); ++i) {
        const QMetaMethod method = metaObject->method(i);
        if (isCallable(method) && method.name() == name)
            return true;
    }
    return false;
}

// Calls the method `name` whose parameter count matches and whose parameters
// take the converted arguments; the most derived class's overload wins.
py::object invoke(QObject *object, const QByteArray &name, const py::args &args)
{
    const QMetaObject *metaObject = object->metaObject();
    const int count = int(args.size());
    bool nameFound = false;
    for (int i = metaObject->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = metaObject->method(i);
        if (!isCallable(method) || method.name() != name)
            continue;
        nameFound = true;
        if (method.parameterCount() != count || count > MaxArguments)
            continue;

        QVarLengthArray<QVariant, MaxArguments> values(count);
        bool converted = true;
        for (int j = 0; j < count && converted; ++j) {
            const int type = method.parameterType(j);
            converted = type != QMetaType::UnknownType
                        && toVariantOfType(args[size_t(j)], type, &values[j]);
        }
        if (!converted)
            continue;

        const QList<QByteArray> typeNames = method.parameterTypes();
        QGenericArgument arguments[MaxArguments];
        for (int j = 0; j < count; ++j) {
            // A QVariant parameter takes the variant itself, any other its content.
            void *data = method.parameterType(j) == QMetaType::QVariant
                             ? static_cast<void *>(&values[j])
                             : values[j].data();
            arguments[j] = QGenericArgument(typeNames.at(j).constData(), data);
        }

        const int returnType = method.returnType();
        QVariant result;
        QGenericReturnArgument returnArgument;
        if (returnType == QMetaType::QVariant) {
            returnArgument = QGenericReturnArgument(method.typeName(), &result);
        } else if (returnType != QMetaType::Void && returnType != QMetaType::UnknownType) {
            result = QVariant(returnType, nullptr);
            returnArgument = QGenericReturnArgument(method.typeName(), result.data());
        }
        bool ok = false;
        {
            GilRelease release;
            ok = method.invoke(object, Qt::DirectConnection, returnArgument, arguments[0],
                               arguments[1], arguments[2], arguments[3], arguments[4], arguments[5],
                               arguments[6], arguments[7], arguments[8], arguments[9]);
        }
        if (!ok)
            throw std::runtime_error("calling " + className(object) + "." + name.toStdString()
                                     + "() failed");
        return toPython(result);
    }
    if (!nameFound)
        throw py::attribute_error("'" + className(object) + "' object has no method '"
                                  + name.toStdString() + "'");
    throw py::type_error("no overload of " + className(object) + "." + name.toStdString()
                         + "() takes these " + std::to_string(count) + " arguments");
}

py::object getAttribute(const ObjectView &view, const std::string &attribute)
{
    QObject *object = liveObject(view);
    const QByteArray name = QByteArray::fromStdString(attribute);
    const QMetaObject *metaObject = object->metaObject();
    const int index = metaObject->indexOfProperty(name.constData());
    if (index >= 0)
        return toPython(metaObject->property(index).read(object));
    if (object->dynamicPropertyNames().contains(name))
        return toPython(object->property(name.constData()));
    if (hasCallable(metaObject, name)) {
        const QPointer<QObject> guard = view.object;
        return py::cpp_function(
            [guard, name](const py::args &args) -> py::object {
                if (!guard)
                    throw std::runtime_error("the QObject behind this view has been deleted");
                return invoke(guard.data(), name, args);
            },
            py::name(attribute.c_str()));
    }
    throw py::attribute_error("'" + className(object) + "' object has no attribute '" + attribute
                              + "'");
}

void setAttribute(const ObjectView &view, const std::string &attribute, py::handle value)
{
    QObject *object = liveObject(view);
    const QByteArray name = QByteArray::fromStdString(attribute);
    const QMetaObject *metaObject = object->metaObject();
    const int index = metaObject->indexOfProperty(name.constData());
    if (index < 0) {
        if (!object->dynamicPropertyNames().contains(name))
            throw py::attribute_error("'" + className(object) + "' object has no property '"
                                      + attribute + "'");
        object->setProperty(name.constData(), toVariant(value));
        return;
    }
    const QMetaProperty property = metaObject->property(index);
    if (!property.isWritable())
        throw py::attribute_error("property '" + attribute + "' of '" + className(object)
                                  + "' is read-only");
    QVariant converted;
    // An enumeration takes its number or the name of its key as they are.
    const bool ok = property.isEnumType() ? (converted = toVariant(value)).isValid()
                                          : toVariantOfType(value, property.userType(), &converted);
    if (!ok || !property.write(object, converted)) {
        const std::string typeName = Py_TYPE(value.ptr())->tp_name;
        throw py::type_error("cannot set property '" + attribute + "' of '" + className(object)
                             + "' (" + property.typeName() + ") to a value of type '" + typeName
                             + "'");
    }
}

py::list attributeNames(const ObjectView &view)
{
    py::list names;
    QObject *object = view.object.data();
    if (!object)
        return names;
    const QMetaObject *metaObject = object->metaObject();
    QSet<QByteArray> seen;
    for (int i = 0; i < metaObject->propertyCount(); ++i)
        seen.insert(metaObject->property(i).name());
    for (int i = 0; i < metaObject->methodCount(); ++i) {
        if (isCallable(metaObject->method(i)))
            seen.insert(metaObject->method(i).name());
    }
    for (const QByteArray &name : object->dynamicPropertyNames())
        seen.insert(name);
    QList<QByteArray> sorted = seen.values();
    std::sort(sorted.begin(), sorted.end());
    for (const QByteArray &name : sorted)
        names.append(py::str(name.constData(), size_t(name.size())));
    return names;
}

std::string representation(const ObjectView &view)
{
    const QObject *object = view.object.data();
    if (!object)
        return "<QObject view of a deleted object>";
    std::string text = "<" + className(object);
    if (!object->objectName().isEmpty())
        text += " '" + object->objectName().toStdString() + "'";
    char address[32];
    std::snprintf(address, sizeof address, " at %p>", static_cast<const void *>(object));
    return text + address;
}

} // namespace

void registerObjectView(py::module_ &scope)
{
    if (py::detail::get_type_info(typeid(ObjectView)))
        return;
    py::class_<ObjectView>(scope, "QObjectView", py::module_local())
        .def("__getattr__", &getAttribute)
        .def("__setattr__", &setAttribute)
        .def("__bool__", [](const ObjectView &view) { return !view.object.isNull(); })
        // Every read of a QObject property makes a new view: equal views share the object.
        .def("__eq__",
             [](const ObjectView &view, py::handle other) {
                 QObject *otherObject = nullptr;
                 return view.object && objectFromView(other, &otherObject)
                        && otherObject == view.object.data();
             })
        .def("__hash__",
             [](const ObjectView &view) {
                 return std::hash<const void *>()(static_cast<const void *>(view.object.data()));
             })
        .def("__dir__", &attributeNames)
        .def("__repr__", &representation);
}

py::object makeObjectView(QObject *object)
{
    if (!object)
        return py::none();
    if (!py::detail::get_type_info(typeid(ObjectView)))
        helperModule();
    return py::cast(ObjectView{object});
}

bool objectFromView(py::handle object, QObject **result)
{
    if (!object || !py::isinstance<ObjectView>(object))
        return false;
    *result = object.cast<const ObjectView &>().object.data();
    return true;
}

} // namespace Editor2Python
