// Drawing folder rules: for any list of file names in a folder, the phase
// files, their numbers and their order agree with a plain reference: a name
// is a phase file when, ignoring letter case, it starts with "phase" and ends
// with ".svg"; its number is its base name (up to the first dot) without the
// first five characters, read as a decimal integer (white space around it
// and a sign allowed); the files are sorted by name with letter case ignored,
// character by character. The object schema is the first of its names that
// exists.
//
// The input is the list of names, separated by "/" (which no name can hold).

#include "drawingfolder.h"
#include "fuzzcheck.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

NO_COVERAGE bool plainNumber(const QString &name, int *number)
{
    const int dot = name.indexOf(QLatin1Char('.'));
    const QString rest = (dot < 0 ? name : name.left(dot)).mid(5).trimmed();
    int i = 0;
    bool negative = false;
    if (i < rest.size() && (rest.at(i) == QLatin1Char('+') || rest.at(i) == QLatin1Char('-')))
        negative = rest.at(i++) == QLatin1Char('-');
    if (i == rest.size())
        return false;
    qint64 value = 0;
    for (; i < rest.size(); ++i) {
        const ushort u = rest.at(i).unicode();
        if (u < '0' || u > '9')
            return false;
        value = value * 10 + (u - '0');
        if (value > qint64(INT_MAX) + 1)
            return false;
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN)
        return false;
    *number = int(value);
    return true;
}

NO_COVERAGE bool plainIsPhaseFile(const QString &name)
{
    return name.startsWith(QLatin1String("phase"), Qt::CaseInsensitive)
           && name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

// Letter case ignored, character by character.
NO_COVERAGE bool plainLess(const QString &a, const QString &b)
{
    return a.toLower() < b.toLower();
}

// Names a file can have here: not empty, no NUL, not "." or "..", at most
// 255 bytes.
bool storable(const QString &name)
{
    return !name.isEmpty() && !name.contains(QChar(0)) && name != QLatin1String(".")
           && name != QLatin1String("..") && QFile::encodeName(name).size() <= 255;
}

QTemporaryDir &root()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    QStringList names;
    for (const QString &name : text.split(QLatin1Char('/'))) {
        if (storable(name) && !names.contains(name) && names.size() < 64)
            names.append(name);
    }

    static int counter = 0;
    const QString folder = root().filePath(QString::number(++counter));
    QDir().mkpath(folder);
    for (const QString &name : names) {
        QFile file(folder + QLatin1Char('/') + name);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), name);
    }

    const QVector<DrawingFolder::PhaseFile> files = DrawingFolder::phaseFiles(folder);
    QStringList expected;
    for (const QString &name : names) {
        if (plainIsPhaseFile(name))
            expected.append(name);
    }
    std::stable_sort(expected.begin(), expected.end(), plainLess);

    QStringList listed;
    for (const DrawingFolder::PhaseFile &file : files) {
        const QString name = file.path.mid(folder.size() + 1);
        FUZZ_CHECK(file.path == QDir(folder).absoluteFilePath(name), file.path);
        listed.append(name);
        int number = 0;
        const bool numbered = plainNumber(name, &number);
        FUZZ_CHECK(file.numbered == numbered, name);
        if (numbered)
            FUZZ_CHECK(file.number == number, name);
        FuzzCheck::feedback(name);
    }
    // Names equal but for letter case may come in either order.
    FUZZ_CHECK(std::is_sorted(listed.begin(), listed.end(), plainLess),
               listed.join(QLatin1Char('/')));
    FUZZ_CHECK(QSet<QString>(listed.begin(), listed.end())
                   == QSet<QString>(expected.begin(), expected.end()),
               text + QLatin1String(" -> ") + listed.join(QLatin1Char('/')));

    QString schema;
    for (const QString &name : DrawingFolder::objectSchemaNames()) {
        if (names.contains(name)) {
            schema = QDir(folder).absoluteFilePath(name);
            break;
        }
    }
    FUZZ_CHECK(DrawingFolder::objectSchema(folder) == schema, text);

    QDir(folder).removeRecursively();
    return 0;
}
