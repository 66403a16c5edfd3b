// Settings arrays: for any INI text and any stored size, reading an array
// costs no more than what the file holds (the entries read are the array's
// sub-groups named by a number from 1 to the size, in the form QSettings
// gives them, ascending) and finishes in bounded time even when the stored
// size is the largest integer; rewriting an array leaves exactly the entries
// written, numbered 1..k, and reading it gives them back.

#include "fuzzcheck.h"
#include "settingsarray.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>

namespace {

const QStringList keys = {QStringLiteral("name"), QStringLiteral("dbFile"),
                          QStringLiteral("tileServer")};

// CPU time of the calling thread: the bound is on the work done, whatever else
// the machine runs meanwhile.
double cpuMs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

QTemporaryDir &root()
{
    static QTemporaryDir dir;
    return dir;
}

// The entry numbers by the plain rule: the canonical decimal names ("1", not
// "01" or "+1") from 1 to the stored size, ascending, within int. A size
// beyond int is still a size.
NO_COVERAGE QList<int> plainNumbers(const QVariant &storedSize, const QStringList &groups)
{
    bool ok = false;
    const qlonglong size = storedSize.toLongLong(&ok);
    QList<int> numbers;
    if (!ok)
        return numbers;
    for (const QString &name : groups) {
        bool digits = !name.isEmpty() && name.at(0) != QLatin1Char('0');
        for (const QChar c : name)
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const qlonglong n = digits && name.size() <= 10 ? name.toLongLong() : 0;
        if (n >= 1 && n <= size && n <= INT_MAX)
            numbers.append(int(n));
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// Reads "Map" with the stored size given and checks it against the plain rule.
void checkRead(QSettings &settings, const QVariant &storedSize, const QString &what)
{
    settings.setValue(QStringLiteral("Map/size"), storedSize);
    settings.beginGroup(QStringLiteral("Map"));
    const QStringList groups = settings.childGroups();
    settings.endGroup();
    const QList<int> expected = plainNumbers(storedSize, groups);
    FUZZ_CHECK(SettingsArray::entryNumbers(storedSize, groups) == expected, what);

    const double start = cpuMs();
    const QList<QVariantList> entries = SettingsArray::read(settings, QStringLiteral("Map"), keys);
    // Far above what reading even a thousand entries takes.
    FUZZ_CHECK(cpuMs() - start < 1000, what);
    FUZZ_CHECK(entries.size() == expected.size(), what);
    for (int i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(entries.at(i).size() == keys.size(), what);
        for (int k = 0; k < keys.size(); ++k) {
            const QString key = QStringLiteral("Map/%1/%2").arg(expected.at(i)).arg(keys.at(k));
            FUZZ_CHECK(entries.at(i).at(k) == settings.value(key), what + QLatin1Char(' ') + key);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int counter = 0;
    // A new name every time: QSettings caches a file for the whole process.
    const QString name = root().filePath(QStringLiteral("a%1.ini").arg(++counter));
    {
        QFile file(name);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), name);
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QString what = FuzzCheck::text(data, size);
    {
        QSettings settings(name, QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        const QVariant stored = settings.value(QStringLiteral("Map/size"));
        checkRead(settings, stored, what);
        checkRead(settings, INT_MAX, what);
        checkRead(settings, QStringLiteral("2147483647"), what);
        checkRead(settings, -1, what);

        // Rewritten with fewer, as many or more entries than it had; QSettings
        // writes no file that it could not read cleanly.
        settings.setValue(QStringLiteral("Map/size"), stored);
        settings.allKeys();
        if (settings.status() != QSettings::NoError) {
            QFile::remove(name);
            return 0;
        }
        const QList<QVariantList> entries =
            SettingsArray::read(settings, QStringLiteral("Map"), keys);
        QList<QVariantList> texts;
        for (const QVariantList &entry : entries) {
            QVariantList values;
            for (const QVariant &value : entry)
                values.append(value.toString());
            texts.append(values);
        }
        const int extra = size > 0 ? data[0] % 4 : 0;
        for (int i = 0; i < extra; ++i)
            texts.append({what.left(i + 1), QString(), QStringLiteral(" spaced ")});
        if (size > 1 && data[1] % 2 && !texts.isEmpty())
            texts.removeFirst();
        SettingsArray::write(settings, QStringLiteral("Map"), keys, texts);
        settings.sync();

        QSettings again(name, QSettings::IniFormat);
        again.setIniCodec("UTF-8");
        again.beginGroup(QStringLiteral("Map"));
        QStringList numbered;
        for (int i = 1; i <= texts.size(); ++i)
            numbered.append(QString::number(i));
        QStringList groups = again.childGroups();
        std::sort(groups.begin(), groups.end(),
                  [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        FUZZ_CHECK(groups == numbered, what);
        FUZZ_CHECK(again.value(QStringLiteral("size")).toInt() == texts.size(), what);
        again.endGroup();
        FUZZ_CHECK(SettingsArray::read(again, QStringLiteral("Map"), keys) == texts, what);
    }
    QFile::remove(name);
    return 0;
}
