#include "pythonqt_p.h"

#include "PythonQtObjectPtr.h"

#include <QAssociativeIterable>
#include <QPoint>
#include <QPointF>
#include <QSequentialIterable>
#include <QStringList>
#include <QVariantHash>
#include <QVariantList>
#include <QVariantMap>

#include <limits>

namespace Editor2Python {

namespace {

// A list that holds itself would otherwise recurse until the stack runs out.
constexpr int MaxDepth = 100;

py::object steal(PyObject *object)
{
    if (!object)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(object);
}

py::object fromString(const QString &text)
{
    // UTF-16 with surrogatepass keeps every QString exactly, lone surrogates included.
    int byteOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? -1 : 1;
    return steal(PyUnicode_DecodeUTF16(reinterpret_cast<const char *>(text.utf16()),
                                       text.size() * 2, "surrogatepass", &byteOrder));
}

py::object fromByteArray(const QByteArray &bytes)
{
    return steal(PyBytes_FromStringAndSize(bytes.constData(), bytes.size()));
}

py::object fromSequence(const QSequentialIterable &items)
{
    py::list list;
    for (const QVariant &item : items)
        list.append(toPython(item));
    return std::move(list);
}

QString keyText(py::handle key)
{
    if (PyUnicode_Check(key.ptr()))
        return toQString(key);
    return toQString(steal(PyObject_Str(key.ptr())));
}

QVariant convert(py::handle object, int depth)
{
    PyObject *o = object.ptr();
    if (!o || o == Py_None || depth > MaxDepth)
        return QVariant();
    if (PyBool_Check(o))
        return QVariant(o == Py_True);
    if (PyLong_Check(o)) {
        int overflow = 0;
        const long long value = PyLong_AsLongLongAndOverflow(o, &overflow);
        if (overflow == 0 && !(value == -1 && PyErr_Occurred())) {
            if (value >= std::numeric_limits<int>::min()
                && value <= std::numeric_limits<int>::max())
                return QVariant(int(value));
            return QVariant(qlonglong(value));
        }
        PyErr_Clear();
        if (overflow > 0) {
            const unsigned long long unsignedValue = PyLong_AsUnsignedLongLong(o);
            if (!PyErr_Occurred())
                return QVariant(qulonglong(unsignedValue));
            PyErr_Clear();
        }
        return QVariant();
    }
    if (PyFloat_Check(o))
        return QVariant(PyFloat_AS_DOUBLE(o));
    if (PyUnicode_Check(o))
        return QVariant(toQString(object));
    if (PyBytes_Check(o))
        return QVariant(QByteArray(PyBytes_AS_STRING(o), int(PyBytes_GET_SIZE(o))));
    if (PyByteArray_Check(o))
        return QVariant(QByteArray(PyByteArray_AS_STRING(o), int(PyByteArray_GET_SIZE(o))));
    if (PyList_Check(o) || PyTuple_Check(o)) {
        // A snapshot, so that the sequence cannot change under the loop.
        py::tuple items = steal(PySequence_Tuple(o));
        QVariantList list;
        list.reserve(int(items.size()));
        for (py::handle item : items)
            list.append(convert(item, depth + 1));
        return list;
    }
    if (PyDict_Check(o)) {
        py::list items = steal(PyDict_Items(o));
        QVariantMap map;
        for (py::handle item : items) {
            py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
            map.insert(keyText(pair[0]), convert(pair[1], depth + 1));
        }
        return map;
    }
    QObject *qObject = nullptr;
    if (objectFromView(object, &qObject))
        return QVariant::fromValue(qObject);
    return QVariant();
}

bool toPoint(py::handle object, QPointF *point)
{
    if (!PyList_Check(object.ptr()) && !PyTuple_Check(object.ptr()))
        return false;
    py::sequence items = py::reinterpret_borrow<py::sequence>(object);
    if (items.size() != 2)
        return false;
    const QVariant x = convert(items[0], 0);
    const QVariant y = convert(items[1], 0);
    bool xOk = false;
    bool yOk = false;
    *point = QPointF(x.toDouble(&xOk), y.toDouble(&yOk));
    return xOk && yOk && x.userType() != QMetaType::QString && y.userType() != QMetaType::QString;
}

} // namespace

QString toQString(py::handle object)
{
    PyObject *o = object.ptr();
    if (!o || !PyUnicode_Check(o))
        return QString();
    const Py_ssize_t length = PyUnicode_GET_LENGTH(o);
    const void *data = PyUnicode_DATA(o);
    switch (PyUnicode_KIND(o)) {
    case PyUnicode_1BYTE_KIND:
        return QString::fromLatin1(static_cast<const char *>(data), int(length));
    case PyUnicode_2BYTE_KIND:
        return QString(static_cast<const QChar *>(data), int(length));
    default: {
        // Code points above the BMP become surrogate pairs; a lone surrogate stays one unit.
        const auto *codes = static_cast<const Py_UCS4 *>(data);
        QString text;
        text.reserve(int(length));
        for (Py_ssize_t i = 0; i < length; ++i) {
            if (QChar::requiresSurrogates(codes[i])) {
                text.append(QChar(QChar::highSurrogate(codes[i])));
                text.append(QChar(QChar::lowSurrogate(codes[i])));
            } else {
                text.append(QChar(char16_t(codes[i])));
            }
        }
        return text;
    }
    }
}

py::object toPython(const QVariant &value)
{
    if (!value.isValid())
        return py::none();
    const int type = value.userType();
    switch (type) {
    case QMetaType::Nullptr:
    case QMetaType::Void:
        return py::none();
    case QMetaType::Bool:
        return py::bool_(value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char:
        return steal(PyLong_FromLongLong(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return steal(PyLong_FromUnsignedLongLong(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return steal(PyFloat_FromDouble(value.toDouble()));
    case QMetaType::QString:
        return fromString(*static_cast<const QString *>(value.constData()));
    case QMetaType::QChar:
        return fromString(QString(value.toChar()));
    case QMetaType::QByteArray:
        return fromByteArray(*static_cast<const QByteArray *>(value.constData()));
    case QMetaType::QStringList: {
        py::list list;
        for (const QString &item : *static_cast<const QStringList *>(value.constData()))
            list.append(fromString(item));
        return std::move(list);
    }
    case QMetaType::QVariantList: {
        py::list list;
        for (const QVariant &item : *static_cast<const QVariantList *>(value.constData()))
            list.append(toPython(item));
        return std::move(list);
    }
    case QMetaType::QVariantMap: {
        py::dict dict;
        const auto &map = *static_cast<const QVariantMap *>(value.constData());
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            dict[fromString(it.key())] = toPython(it.value());
        return std::move(dict);
    }
    case QMetaType::QVariantHash: {
        py::dict dict;
        const auto &hash = *static_cast<const QVariantHash *>(value.constData());
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            dict[fromString(it.key())] = toPython(it.value());
        return std::move(dict);
    }
    case QMetaType::QPointF: {
        const QPointF point = value.toPointF();
        return py::make_tuple(point.x(), point.y());
    }
    case QMetaType::QPoint: {
        const QPoint point = value.toPoint();
        return py::make_tuple(point.x(), point.y());
    }
    case QMetaType::QObjectStar:
        return makeObjectView(value.value<QObject *>());
    default:
        break;
    }
    if (type == qMetaTypeId<PythonQtObjectPtr>()) {
        PyObject *object = value.value<PythonQtObjectPtr>().object();
        return object ? py::reinterpret_borrow<py::object>(object) : py::none();
    }
    const QMetaType::TypeFlags flags = QMetaType::typeFlags(type);
    if (flags & QMetaType::PointerToQObject)
        return makeObjectView(value.value<QObject *>());
    if (flags & QMetaType::IsEnumeration)
        return steal(PyLong_FromLongLong(value.toLongLong()));
    if (value.canConvert<QVariantList>()
        && QMetaType::hasRegisteredConverterFunction(
            type, qMetaTypeId<QtMetaTypePrivate::QSequentialIterableImpl>())) {
        return fromSequence(value.value<QSequentialIterable>());
    }
    if (value.canConvert<QVariantMap>()
        && QMetaType::hasRegisteredConverterFunction(
            type, qMetaTypeId<QtMetaTypePrivate::QAssociativeIterableImpl>())) {
        py::dict dict;
        const QAssociativeIterable items = value.value<QAssociativeIterable>();
        for (auto it = items.begin(); it != items.end(); ++it)
            dict[fromString(it.key().toString())] = toPython(it.value());
        return std::move(dict);
    }
    // Values with a text form (QUrl, QDate, ...) read as their text; writing the
    // text back into a property of that type converts it again.
    QVariant text = value;
    if (text.canConvert<QString>() && text.convert(QMetaType::QString))
        return fromString(text.toString());
    return py::none();
}

QVariant toVariant(py::handle object)
{
    return convert(object, 0);
}

bool toVariantOfType(py::handle object, int metaType, QVariant *result)
{
    if (metaType == QMetaType::QVariant) {
        *result = toVariant(object);
        return true;
    }
    if (metaType == qMetaTypeId<PythonQtObjectPtr>()) {
        *result = QVariant::fromValue(PythonQtObjectPtr(object.ptr()));
        return true;
    }
    if (metaType == QMetaType::QPointF || metaType == QMetaType::QPoint) {
        QPointF point;
        if (!toPoint(object, &point))
            return false;
        *result = metaType == QMetaType::QPointF ? QVariant(point) : QVariant(point.toPoint());
        return true;
    }
    const bool wantsObject = metaType == QMetaType::QObjectStar
                             || (QMetaType::typeFlags(metaType) & QMetaType::PointerToQObject);
    if (wantsObject) {
        QObject *qObject = nullptr;
        if (!object.is_none()) {
            if (!objectFromView(object, &qObject) || !qObject)
                return false;
            const QMetaObject *wanted = QMetaType::metaObjectForType(metaType);
            if (wanted && !qObject->metaObject()->inherits(wanted))
                return false;
        }
        *result = QVariant(metaType, &qObject);
        return true;
    }
    QVariant value = toVariant(object);
    if (!value.isValid()) {
        // None passes as the type's empty value, as a null QString for a QString.
        if (!object.is_none())
            return false;
        *result = QVariant(metaType, nullptr);
        return result->isValid();
    }
    if (value.userType() != metaType && !value.convert(metaType))
        return false;
    *result = value;
    return true;
}

} // namespace Editor2Python
