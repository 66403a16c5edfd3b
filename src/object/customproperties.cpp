#include "customproperties.h"

#include <QVariantHash>
#include <QVariantMap>

namespace CustomProperties {

bool textKeepsValue(const QVariant &value)
{
    if (!value.isValid())
        return true;
    const int type = value.userType();
    if (type == QMetaType::QString)
        return true;
    // A list of one text converts to that text and back to the same list;
    // still the host gave a list, not a text.
    if (type == QMetaType::QStringList || type == QMetaType::QByteArrayList
        || value.canConvert<QVariantList>() || value.canConvert<QVariantMap>()
        || value.canConvert<QVariantHash>())
        return false;
    const QString text = value.toString();
    if (text.isEmpty())
        return false;
    QVariant back(text);
    return back.convert(type) && back == value;
}

bool namesProperty(const QString &name)
{
    return !name.isEmpty();
}

int rowAfterRemoval(const QList<int> &removed, int rowCount)
{
    if (removed.isEmpty())
        return -1;
    int row = removed.last() + 1;
    // Cells selected out of row order can put a removed row right after the
    // last one listed; the first row after it that stays is taken then.
    while (row < rowCount && removed.contains(row))
        ++row;
    if (row >= rowCount)
        row = rowCount - 1;
    while (row >= 0 && removed.contains(row))
        --row;
    return row;
}

} // namespace CustomProperties
