#include "settingsarray.h"

#include <QSettings>

#include <algorithm>

namespace SettingsArray {

namespace {

const char SizeKey[] = "size";

// A positive number in the form QSettings gives array entries ("1", not
// "01" or "+1"), or 0.
int entryNumber(const QString &name)
{
    if (name.isEmpty() || name.size() > 10 || name.at(0) == QLatin1Char('0'))
        return 0;
    for (const QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const int number = name.toInt(&ok);
    return ok ? number : 0;
}

} // namespace

QList<int> entryNumbers(const QVariant &storedSize, const QStringList &childGroups)
{
    bool ok = false;
    // Read wide: a size beyond int would otherwise wrap, even to a small one.
    const qlonglong size = storedSize.toLongLong(&ok);
    if (!ok || size <= 0)
        return {};
    QList<int> numbers;
    for (const QString &name : childGroups) {
        const int number = entryNumber(name);
        if (number > 0 && number <= size)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QList<QVariantList> read(QSettings &settings, const QString &array, const QStringList &keys)
{
    QList<QVariantList> entries;
    settings.beginGroup(array);
    const QList<int> numbers =
        entryNumbers(settings.value(QLatin1String(SizeKey)), settings.childGroups());
    entries.reserve(numbers.size());
    for (const int number : numbers) {
        settings.beginGroup(QString::number(number));
        QVariantList values;
        values.reserve(keys.size());
        for (const QString &key : keys)
            values.append(settings.value(key));
        entries.append(values);
        settings.endGroup();
    }
    settings.endGroup();
    return entries;
}

void write(QSettings &settings, const QString &array, const QStringList &keys,
           const QList<QVariantList> &entries)
{
    settings.remove(array);
    settings.beginGroup(array);
    for (int i = 0; i < entries.size(); ++i) {
        const QVariantList &values = entries.at(i);
        settings.beginGroup(QString::number(i + 1));
        for (int k = 0; k < keys.size(); ++k)
            settings.setValue(keys.at(k), k < values.size() ? values.at(k) : QVariant(QString()));
        settings.endGroup();
    }
    settings.setValue(QLatin1String(SizeKey), entries.size());
    settings.endGroup();
}

} // namespace SettingsArray
