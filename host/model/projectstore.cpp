#include "projectstore.h"

#include "connection.h"
#include "light.h"
#include "phase.h"
#include "project.h"
#include "sampleproject.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace Arvel {

namespace ProjectStore {

namespace {

const char ProjectGroup[] = "Project";
const char LightsArray[] = "Lights";

enum class Content { Missing, Blank, SettingsOnly, Project, Unreadable };

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

QByteArray digest(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

// What the file holds, as a digest: null when there is no file, and one
// value for anything that cannot be read as a file (a folder, a file
// without read permission).
QByteArray digestOf(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink())
        return QByteArray();
    QFile file(fileName);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArrayLiteral("unreadable");
    return hash.result();
}

// Whether every line is one that the settings format writes: blank, a
// comment, a section header or a key with a value. QSettings reads bytes
// that are no settings at all as an empty file without complaint, and it
// reports a broken header only the first time a process reads the file.
bool looksLikeSettings(const QByteArray &data, QString *why)
{
    if (data.contains('\0')) {
        *why = QCoreApplication::translate("Arvel::ProjectStore", "it is not a settings file");
        return false;
    }
    QByteArray line;
    const QList<QByteArray> lines = data.split('\n');
    for (const QByteArray &part : lines) {
        line += part.trimmed();
        // A backslash at the end continues the line.
        if (line.endsWith('\\')) {
            line.chop(1);
            continue;
        }
        const bool fine = line.isEmpty() || line.startsWith(';') || line.startsWith('#')
                          || (line.startsWith('[') && line.contains(']')) || line.contains('=');
        if (!fine) {
            if (line.startsWith('['))
                *why = QCoreApplication::translate("Arvel::ProjectStore",
                                                   "it is not in the settings file format");
            else
                *why =
                    QCoreApplication::translate("Arvel::ProjectStore", "it is not a settings file");
            return false;
        }
        line.clear();
    }
    return true;
}

// What the file holds, judged without changing it.
Content inspect(const QString &fileName, QString *why)
{
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink())
        return Content::Missing;
    QSettings probe(fileName, QSettings::IniFormat);
    probe.setIniCodec("UTF-8");
    QFile file(fileName);
    if (probe.status() == QSettings::AccessError || info.isDir()
        || !file.open(QIODevice::ReadOnly)) {
        *why = QCoreApplication::translate("Arvel::ProjectStore", "it cannot be opened");
        return Content::Unreadable;
    }
    if (probe.status() == QSettings::FormatError || !looksLikeSettings(file.readAll(), why)) {
        if (why->isEmpty())
            *why = QCoreApplication::translate("Arvel::ProjectStore",
                                               "it is not in the settings file format");
        return Content::Unreadable;
    }
    if (probe.childGroups().contains(key(ProjectGroup)))
        return Content::Project;
    return probe.allKeys().isEmpty() ? Content::Blank : Content::SettingsOnly;
}

// The number of entries of an array that a hand-edited file may declare
// larger than it is: never more than its highest numbered entry.
int beginReadArray(QSettings &settings, const QString &name)
{
    const int declared = settings.beginReadArray(name);
    int highest = 0;
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        bool ok = false;
        const int index = group.toInt(&ok);
        if (ok)
            highest = qMax(highest, index);
    }
    return qBound(0, declared, highest);
}

QString numberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double readDouble(const QSettings &settings, const QString &name)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(settings.value(name).toString().trimmed(), &ok);
    return ok ? value : 0.0;
}

int readInt(const QSettings &settings, const QString &name, bool *ok = nullptr)
{
    return settings.value(name).toString().trimmed().toInt(ok);
}

// Paths inside the project folder are kept relative to it.
QString storedPath(const QDir &base, const QString &path)
{
    if (path.isEmpty() || QDir::isRelativePath(path))
        return path;
    const QString relative = base.relativeFilePath(path);
    if (relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"))
        || QDir::isAbsolutePath(relative))
        return path;
    return relative;
}

QString loadedPath(const QDir &base, const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir::cleanPath(base.absoluteFilePath(path));
}

// A value whose text converts back to the same value is kept as that text.
bool asText(const QVariant &value, QString *text)
{
    if (!value.canConvert<QString>())
        return false;
    *text = value.toString();
    QVariant back(*text);
    return back.convert(value.userType()) && back == value;
}

QByteArray streamed(const QVariant &value)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    out << value;
    return data;
}

// Custom property values keep their type: the type's name beside the value
// as text, lists and maps item by item, anything else in Qt's binary form.
void writeValue(QSettings &settings, const QVariant &value)
{
    const int type = value.userType();
    const char *typeName = QMetaType::typeName(type);
    settings.setValue(key("type"), typeName ? QString::fromLatin1(typeName) : QString());
    if (!value.isValid())
        return;
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        const QVariantList items = value.toList();
        settings.beginWriteArray(key("items"), items.size());
        for (int i = 0; i < items.size(); ++i) {
            settings.setArrayIndex(i);
            writeValue(settings, items.at(i));
        }
        settings.endArray();
        return;
    }
    if (type == QMetaType::QVariantMap || type == QMetaType::QVariantHash) {
        const QVariantMap items = value.toMap();
        settings.beginWriteArray(key("items"), items.size());
        int i = 0;
        for (auto it = items.cbegin(); it != items.cend(); ++it) {
            settings.setArrayIndex(i++);
            settings.setValue(key("key"), it.key());
            writeValue(settings, it.value());
        }
        settings.endArray();
        return;
    }
    QString text;
    if (asText(value, &text)) {
        settings.setValue(key("value"), text);
        return;
    }
    settings.setValue(key("data"), streamed(value));
}

QVariant readValue(QSettings &settings, bool *ok)
{
    *ok = true;
    const QByteArray typeName = settings.value(key("type")).toString().toLatin1();
    if (typeName.isEmpty())
        return QVariant();
    const int type = QMetaType::type(typeName.constData());
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        QVariantList items;
        const int count = beginReadArray(settings, key("items"));
        for (int i = 0; i < count && *ok; ++i) {
            settings.setArrayIndex(i);
            items.append(readValue(settings, ok));
        }
        settings.endArray();
        if (type == QMetaType::QStringList) {
            QStringList texts;
            for (const QVariant &item : qAsConst(items))
                texts.append(item.toString());
            return texts;
        }
        return items;
    }
    if (type == QMetaType::QVariantMap || type == QMetaType::QVariantHash) {
        QVariantMap items;
        const int count = beginReadArray(settings, key("items"));
        for (int i = 0; i < count && *ok; ++i) {
            settings.setArrayIndex(i);
            const QString name = settings.value(key("key")).toString();
            items.insert(name, readValue(settings, ok));
        }
        settings.endArray();
        if (type != QMetaType::QVariantHash)
            return items;
        QVariantHash hash;
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            hash.insert(it.key(), it.value());
        return hash;
    }
    if (settings.contains(key("data"))) {
        QByteArray data = settings.value(key("data")).toByteArray();
        QDataStream in(&data, QIODevice::ReadOnly);
        in.setVersion(QDataStream::Qt_5_15);
        QVariant value;
        in >> value;
        *ok = in.status() == QDataStream::Ok && value.isValid();
        return value;
    }
    QVariant value(settings.value(key("value")).toString());
    // A type this build does not know keeps its text.
    if (type == QMetaType::UnknownType || type == QMetaType::QString)
        return value;
    *ok = value.convert(type);
    return value;
}

QStringList numberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int number : numbers)
        texts.append(QString::number(number));
    return texts;
}

QList<int> readNumberList(const QSettings &settings, const QString &name)
{
    QList<int> numbers;
    const QStringList texts = settings.value(name).toStringList();
    for (const QString &text : texts) {
        bool ok = false;
        const int number = text.trimmed().toInt(&ok);
        if (ok)
            numbers.append(number);
    }
    return numbers;
}

void writeLight(QSettings &settings, Light *light, const QDir &base)
{
    settings.setValue(key("id"), light->id());
    settings.setValue(key("type"), light->type());
    settings.setValue(key("description"), light->description());
    settings.setValue(key("lon"), numberText(light->position().x()));
    settings.setValue(key("lat"), numberText(light->position().y()));
    settings.setValue(key("shema"), storedPath(base, light->shema()));
    settings.setValue(key("RcdControl"), light->rcdControl());
    settings.setValue(key("tlo_use_sg_cnt"), light->tloUseSgCnt());
    settings.setValue(key("eventMask"), QString::number(light->eventMask()));

    const QList<QObject *> phases = light->phases();
    settings.beginWriteArray(key("phases"), phases.size());
    for (int i = 0; i < phases.size(); ++i) {
        settings.setArrayIndex(i);
        const auto *phase = qobject_cast<const Phase *>(phases.at(i));
        settings.setValue(key("id"), phase ? phase->id() : 0);
        settings.setValue(key("description"), phase ? phase->description() : QString());
        settings.setValue(key("shema"), phase ? storedPath(base, phase->shema()) : QString());
    }
    settings.endArray();

    const QList<QObject *> programs = light->programs();
    settings.beginWriteArray(key("programs"), programs.size());
    for (int i = 0; i < programs.size(); ++i) {
        settings.setArrayIndex(i);
        const auto *program = qobject_cast<const Program *>(programs.at(i));
        settings.setValue(key("id"), program ? program->id() : 0);
        settings.setValue(key("description"), program ? program->description() : QString());
    }
    settings.endArray();

    const QVariantMap properties = light->customProperties();
    settings.beginWriteArray(key("customProperties"), properties.size());
    int index = 0;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        settings.setArrayIndex(index++);
        const QVariantList entry = it.value().toList();
        settings.setValue(key("name"), it.key());
        settings.setValue(key("description"), entry.value(1).toString());
        writeValue(settings, entry.value(0));
    }
    settings.endArray();

    // The simulated controller, so that reading from it answers alike after
    // the next start.
    const ControllerState &controller = light->controller();
    settings.beginGroup(key("controller"));
    settings.setValue(key("deviceName"), controller.deviceName);
    settings.setValue(key("serialNumber"), controller.serialNumber);
    settings.setValue(key("firmware"), controller.firmware);
    settings.setValue(key("description"), controller.description);
    settings.setValue(key("lon"), numberText(controller.position.x()));
    settings.setValue(key("lat"), numberText(controller.position.y()));
    settings.setValue(key("phases"), numberList(controller.phases));
    settings.setValue(key("programs"), numberList(controller.programs));
    settings.endGroup();
}

// Field by field as writeLight() writes them.
void recordLight(QDataStream &out, const Light *light, const QDir &base)
{
    out << light->id() << light->type() << light->description() << numberText(light->position().x())
        << numberText(light->position().y()) << storedPath(base, light->shema())
        << light->rcdControl() << light->tloUseSgCnt() << light->eventMask();
    const QList<QObject *> phases = light->phases();
    out << phases.size();
    for (const QObject *item : phases) {
        const auto *phase = qobject_cast<const Phase *>(item);
        out << (phase ? phase->id() : 0) << (phase ? phase->description() : QString())
            << (phase ? storedPath(base, phase->shema()) : QString());
    }
    const QList<QObject *> programs = light->programs();
    out << programs.size();
    for (const QObject *item : programs) {
        const auto *program = qobject_cast<const Program *>(item);
        out << (program ? program->id() : 0) << (program ? program->description() : QString());
    }
    out << light->customProperties();
    const ControllerState &controller = light->controller();
    out << controller.deviceName << controller.serialNumber << controller.firmware
        << controller.description << numberText(controller.position.x())
        << numberText(controller.position.y()) << controller.phases << controller.programs;
}

std::unique_ptr<Light> readLight(QSettings &settings, const QDir &base)
{
    auto light = std::make_unique<Light>();
    light->setId(readInt(settings, key("id")));
    light->setType(settings.value(key("type")).toString());
    light->setDescription(settings.value(key("description")).toString());
    light->setPosition(QPointF(readDouble(settings, key("lon")), readDouble(settings, key("lat"))));
    light->setShema(loadedPath(base, settings.value(key("shema")).toString()));
    light->setRcdControl(settings.value(key("RcdControl")).toBool());
    light->setTloUseSgCnt(readInt(settings, key("tlo_use_sg_cnt")));
    light->setEventMask(settings.value(key("eventMask")).toString().trimmed().toUInt());

    int count = beginReadArray(settings, key("phases"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        QObject *phase = light->createPhase(readInt(settings, key("id")),
                                            settings.value(key("description")).toString());
        phase->setProperty("shema", loadedPath(base, settings.value(key("shema")).toString()));
    }
    settings.endArray();

    count = beginReadArray(settings, key("programs"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        light->createProgram(readInt(settings, key("id")),
                             settings.value(key("description")).toString());
    }
    settings.endArray();

    count = beginReadArray(settings, key("customProperties"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const QString name = settings.value(key("name")).toString();
        bool ok = false;
        const QVariant value = readValue(settings, &ok);
        if (name.isEmpty() || !ok || !value.isValid()) {
            qWarning().noquote() << QStringLiteral(
                                        "editor2-host: controller %1: custom property %2 "
                                        "cannot be read; left out")
                                        .arg(light->id())
                                        .arg(name);
            continue;
        }
        light->setCustomProperty(name, value, settings.value(key("description")).toString());
    }
    settings.endArray();

    ControllerState &controller = light->controller();
    if (settings.childGroups().contains(key("controller"))) {
        settings.beginGroup(key("controller"));
        controller.deviceName = settings.value(key("deviceName"), controller.deviceName).toString();
        controller.serialNumber = settings.value(key("serialNumber")).toString();
        controller.firmware = settings.value(key("firmware"), controller.firmware).toString();
        controller.description = settings.value(key("description")).toString();
        controller.position =
            QPointF(readDouble(settings, key("lon")), readDouble(settings, key("lat")));
        controller.phases = readNumberList(settings, key("phases"));
        controller.programs = readNumberList(settings, key("programs"));
        settings.endGroup();
    } else {
        // A controller that says what the project says of it.
        controller.description = light->description();
        controller.position = light->position();
        for (QObject *phase : light->phases())
            controller.phases.append(phase->property("id").toInt());
        for (QObject *program : light->programs())
            controller.programs.append(program->property("id").toInt());
    }
    return light;
}

void writeProject(QSettings &settings, Project &project)
{
    const QDir base(project.baseDir());
    settings.remove(key(ProjectGroup));
    settings.remove(key(LightsArray));

    settings.beginGroup(key(ProjectGroup));
    settings.setValue(key("title"), project.title());
    if (Connection *connection = project.serverConnection()) {
        settings.setValue(key("remoteHost"), connection->remoteHost());
        settings.setValue(key("remotePort"), connection->remotePort());
    }
    settings.setValue(key("consoleRequestFilter"), project.consoleRequestFilter());
    settings.setValue(key("consoleResponseFilter"), project.consoleResponseFilter());
    settings.setValue(key("consoleNotificationFilter"), project.consoleNotificationFilter());
    settings.endGroup();

    const QList<Light *> lights = project.lights();
    settings.beginWriteArray(key(LightsArray), lights.size());
    for (int i = 0; i < lights.size(); ++i) {
        settings.setArrayIndex(i);
        writeLight(settings, lights.at(i), base);
    }
    settings.endArray();
}

void readProject(QSettings &settings, Project &project)
{
    const QDir base(project.baseDir());
    settings.beginGroup(key(ProjectGroup));
    project.setTitle(settings.value(key("title")).toString());
    if (Connection *connection = project.serverConnection()) {
        connection->setRemoteHost(settings.value(key("remoteHost")).toString());
        bool ok = false;
        const int port = readInt(settings, key("remotePort"), &ok);
        connection->setRemotePort(ok ? port : -1);
    }
    project.setConsoleRequestFilter(settings.value(key("consoleRequestFilter")).toString());
    project.setConsoleResponseFilter(settings.value(key("consoleResponseFilter")).toString());
    project.setConsoleNotificationFilter(
        settings.value(key("consoleNotificationFilter")).toString());
    settings.endGroup();

    const int count = beginReadArray(settings, key(LightsArray));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        std::unique_ptr<Light> light = readLight(settings, base);
        // A hand-edited file may hold entries the project cannot have.
        if (light->id() <= 0 || project.contains(light->id())) {
            qWarning().noquote() << QStringLiteral("editor2-host: controller entry %1 of %2 has no "
                                                   "identifier of its own; left out")
                                        .arg(i + 1)
                                        .arg(project.fileName());
            continue;
        }
        project.addLight(light.release());
    }
    settings.endArray();
}

// Keys that saving writes from the project's own objects; every other key
// of the file belongs to the project's settings.
bool ownKey(const QString &name)
{
    for (const char *group : {ProjectGroup, LightsArray}) {
        const QString prefix = key(group) + QLatin1Char('/');
        if (name.startsWith(prefix))
            return true;
    }
    return false;
}

QVariantMap keptSettings(const QSettings &source)
{
    QVariantMap values;
    const QStringList names = source.allKeys();
    for (const QString &name : names) {
        if (!ownKey(name))
            values.insert(name, source.value(name));
    }
    return values;
}

std::unique_ptr<QSettings> openFile(const QString &fileName)
{
    auto settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    settings->setIniCodec("UTF-8");
    return settings;
}

// Whether `file` holds a project that can be read; *error says why not.
bool holdsProject(const QString &file, QString *error)
{
    QString why;
    switch (inspect(file, &why)) {
    case Content::Project:
        error->clear();
        return true;
    case Content::Unreadable:
        *error = QCoreApplication::translate("Arvel::ProjectStore",
                                             "The project file %1 cannot be read: %2.")
                     .arg(QDir::toNativeSeparators(file), why);
        return false;
    default:
        *error = QCoreApplication::translate("Arvel::ProjectStore", "The file %1 holds no project.")
                     .arg(QDir::toNativeSeparators(file));
        return false;
    }
}

// Fills `project` from its file, which holdsProject() accepted.
void readFile(Project &project)
{
    // Taken before the file is read: a change made in between shows as a
    // change on disk, not as one the project already holds.
    project.setFileDigest(digestOf(project.fileName()));
    const std::unique_ptr<QSettings> source = openFile(project.fileName());
    readProject(*source, project);
    project.openSettings(keptSettings(*source));
    project.setChanged(false);
}

// The first name of `base`, `base`.1, `base`.2 ... that is not taken.
QString unusedName(const QString &base)
{
    QString name = base;
    for (int i = 1; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++i)
        name = QStringLiteral("%1.%2").arg(base).arg(i);
    return name;
}

// Whether `read`, read back from a settings file, is what writing `meant`
// stores: QSettings writes a number or a truth value as its text, a list of
// one item as that item and an empty list as no value. (A NaN is not equal
// to itself, but streams alike.)
bool readsBackAs(const QVariant &read, const QVariant &meant)
{
    const int type = meant.userType();
    if (read.userType() == type)
        return read == meant || streamed(read) == streamed(meant);
    if (!meant.isValid() || type == QMetaType::QStringList || type == QMetaType::QVariantList)
        return read.toStringList() == meant.toStringList();
    return read.userType() == QMetaType::QString && read.toString() == meant.toString();
}

// Whether `file` holds exactly `values` (key paths).
bool holdsExactly(const QSettings &file, const QVariantMap &values)
{
    QStringList names = file.allKeys();
    names.sort();
    if (file.status() != QSettings::NoError || names != values.keys())
        return false;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!readsBackAs(file.value(it.key()), it.value()))
            return false;
    }
    return true;
}

// Why a file of more than `size` bytes cannot be written into `folder`, in
// the system's words, found by trying; empty when it can be.
QString writeFailure(const QString &folder, qint64 size)
{
    QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return probe.errorString();
    const QByteArray block(4096, '\n');
    // A write cut short by the limit says nothing; the next one fails.
    for (qint64 done = 0; done <= size;) {
        const qint64 written = probe.write(block);
        if (written <= 0)
            return probe.errorString();
        done += written;
    }
    return QString();
}

// The file's new content, as QSettings writes the project and `edited` (the
// project's settings; null for none). QSettings reports no error when its
// file was cut short (in Qt 5.15 it renames its temporary file into place
// even after the last write failed), so it writes into a scratch folder and
// the bytes count only once they read back as what was meant.
bool newContent(Project &project, const QSettings *edited, QByteArray *content, QString *error)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        *error = QCoreApplication::translate("Arvel::ProjectStore",
                                             "%1 cannot be written: there is no temporary folder "
                                             "for its new content (%2)")
                     .arg(QDir::toNativeSeparators(project.fileName()), scratch.errorString());
        return false;
    }
    const QString written = scratch.filePath(QStringLiteral("written.ini"));
    QVariantMap values;
    bool synced = false;
    {
        QSettings settings(written, QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        const QStringList names = edited ? edited->allKeys() : QStringList();
        for (const QString &name : names) {
            if (!ownKey(name))
                settings.setValue(name, edited->value(name));
        }
        writeProject(settings, project);
        const QStringList all = settings.allKeys();
        for (const QString &name : all)
            values.insert(name, settings.value(name));
        settings.sync();
        synced = settings.status() == QSettings::NoError;
    }
    // QSettings keeps what it parsed per file name: another name makes it
    // read the bytes on disk.
    const QString check = scratch.filePath(QStringLiteral("check.ini"));
    QFile in(check);
    if (synced && QFile::rename(written, check) && in.open(QIODevice::ReadOnly)) {
        *content = in.readAll();
        const bool read = in.error() == QFileDevice::NoError;
        in.close();
        QSettings back(check, QSettings::IniFormat);
        back.setIniCodec("UTF-8");
        if (read && holdsExactly(back, values))
            return true;
    }
    // Found by writing more than the file reached, and about as much as it
    // would have held.
    qint64 size = qMax(QFileInfo(written).size(), QFileInfo(check).size());
    QFile::remove(written);
    QFile::remove(check);
    qint64 text = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text += it.key().toUtf8().size() + it.value().toString().toUtf8().size() + 2;
    QString cause = writeFailure(scratch.path(), qMax(size, text));
    if (cause.isEmpty())
        cause =
            QCoreApplication::translate("Arvel::ProjectStore", "it did not read back as written");
    *error = QCoreApplication::translate("Arvel::ProjectStore",
                                         "%1 cannot be written: its new content did not come "
                                         "out whole in the temporary folder %2: %3")
                 .arg(QDir::toNativeSeparators(project.fileName()),
                      QDir::toNativeSeparators(QDir::tempPath()), cause);
    return false;
}

// Replaces `fileName` with `content` once all of it was written, flushed and
// closed without an error; otherwise leaves the file as it was.
bool replaceFile(const QString &fileName, const QByteArray &content, QString *error)
{
    QSaveFile out(fileName);
    // Unbuffered, every write reaches the system here, and a failed one
    // says why.
    bool whole = out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; whole && done < content.size();) {
        const qint64 written = out.write(content.constData() + done, content.size() - done);
        whole = written > 0;
        done += written;
    }
    // commit() would rename the file into place even after a failed flush.
    whole = whole && out.flush() && out.error() == QFileDevice::NoError;
    if (whole && out.commit())
        return true;
    *error = QCoreApplication::translate("Arvel::ProjectStore", "%1 cannot be written: %2")
                 .arg(QDir::toNativeSeparators(fileName), out.errorString());
    out.cancelWriting();
    return false;
}

} // namespace

QString fileName(const QString &folder)
{
    return QDir(folder).absoluteFilePath(QStringLiteral("project.ini"));
}

Project *load(const QString &fileName, QString *error, QObject *parent)
{
    const QString file = QFileInfo(fileName).absoluteFilePath();
    if (!holdsProject(file, error))
        return nullptr;
    auto *project = new Project(parent);
    project->setFileName(file);
    project->setBaseDir(QFileInfo(file).absolutePath());
    readFile(*project);
    return project;
}

bool reload(Project *project, QString *error)
{
    if (!project || !holdsProject(project->fileName(), error))
        return false;
    const QList<Light *> lights = project->lights();
    for (Light *light : lights)
        project->removeLight(light);
    readFile(*project);
    return true;
}

Project *open(const QString &folder, QString *error, QObject *parent)
{
    error->clear();
    const QString file = fileName(folder);
    QString why;
    const Content content = inspect(file, &why);
    if (content == Content::Project)
        return load(file, error, parent);

    if (content == Content::Unreadable) {
        const QByteArray unreadable = digestOf(file);
        *error = QCoreApplication::translate(
                     "Arvel::ProjectStore",
                     "The project file %1 cannot be read: %2. The host starts with an empty "
                     "project and leaves the file as it is.")
                     .arg(QDir::toNativeSeparators(file), why);
        auto *project = new Project(parent);
        project->setFileName(file);
        project->setBaseDir(QFileInfo(file).absolutePath());
        project->setFileDigest(unreadable);
        return project;
    }

    // A first start: the sample, kept at once so that the next start reads it.
    const QByteArray before = digestOf(file);
    Project *project = createSampleProject(folder, keptSettings(*openFile(file)), parent);
    project->setFileDigest(before);
    QString saveError;
    if (!save(project, &saveError))
        *error = QCoreApplication::translate("Arvel::ProjectStore",
                                             "The sample project cannot be saved: %1")
                     .arg(saveError);
    return project;
}

bool changedOnDisk(const Project *project)
{
    const QByteArray now = project ? digestOf(project->fileName()) : QByteArray();
    return !now.isNull() && now != project->fileDigest();
}

bool save(Project *project, QString *error, QString *note, IfChangedOnDisk ifChanged)
{
    if (note)
        note->clear();
    if (!project) {
        *error = QCoreApplication::translate("Arvel::ProjectStore", "there is no project");
        return false;
    }
    const QString file = project->fileName();
    if (file.isEmpty()) {
        *error = QCoreApplication::translate("Arvel::ProjectStore", "the project has no file");
        return false;
    }
    if (ifChanged == IfChangedOnDisk::Refuse && changedOnDisk(project)) {
        *error = QCoreApplication::translate("Arvel::ProjectStore",
                                             "%1 changed on disk since the host read or saved it")
                     .arg(QDir::toNativeSeparators(file));
        return false;
    }

    // The file becomes what the project holds: its settings as edited and
    // its own groups.
    QByteArray content;
    if (!newContent(*project, project->settings(), &content, error))
        return false;
    if (!project->settings()) {
        // The file could not be read when the project was opened: keep it
        // under another name instead of writing over what may be recovered.
        const QFileInfo info(file);
        if (info.exists() || info.isSymLink()) {
            const QString kept = unusedName(file + QStringLiteral(".unreadable"));
            if (!QDir().rename(file, kept)) {
                *error = QCoreApplication::translate("Arvel::ProjectStore",
                                                     "the unreadable file %1 cannot be moved aside")
                             .arg(QDir::toNativeSeparators(file));
                return false;
            }
            if (note)
                *note = kept;
        }
    }
    if (!replaceFile(file, content, error))
        return false;
    if (!project->settings())
        project->openSettings();
    project->setFileDigest(digest(content));
    project->setChanged(false);
    return true;
}

QByteArray lightRecord(const Light *light, const QString &baseDir)
{
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    recordLight(out, light, QDir(baseDir));
    return record;
}

} // namespace ProjectStore

} // namespace Arvel
