// The project kept in its folder: what is saved comes back with its types,
// what cannot be read is left alone, what cannot be written says so.

#include "connection.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "light.h"
#include "phase.h"
#include "project.h"
#include "projectstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <errno.h>
#include <string.h>

using namespace Arvel;

using LightChange = std::function<void(Light *)>;
Q_DECLARE_METATYPE(LightChange)

namespace {

// A value with the type of every part spelled out: QVariant's own == takes
// 1 and "1" for equal, which would hide a lost type.
QString describe(const QVariant &value)
{
    const QString type = QString::fromLatin1(value.typeName());
    if (value.userType() == QMetaType::QVariantList || value.userType() == QMetaType::QStringList) {
        QStringList items;
        for (const QVariant &item : value.toList())
            items << describe(item);
        return type + QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    if (value.userType() == QMetaType::QVariantMap) {
        QStringList items;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            items << it.key() + QLatin1Char('=') + describe(it.value());
        return type + QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    QString text;
    QDebug(&text).nospace() << value;
    return text;
}

QString describeLight(const Light *light)
{
    QStringList parts;
    parts << QString::number(light->id()) << light->type() << light->description()
          << QString::number(light->position().x(), 'g', 17)
          << QString::number(light->position().y(), 'g', 17) << light->shema()
          << QString::number(light->rcdControl()) << QString::number(light->tloUseSgCnt())
          << QString::number(light->eventMask(), 16);
    for (QObject *phase : light->phases())
        parts << QStringLiteral("phase %1 %2 %3")
                     .arg(phase->property("id").toInt())
                     .arg(phase->property("description").toString(),
                          phase->property("shema").toString());
    for (QObject *program : light->programs())
        parts << QStringLiteral("program %1 %2")
                     .arg(program->property("id").toInt())
                     .arg(program->property("description").toString());
    const QVariantMap properties = light->customProperties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        parts << it.key() + QLatin1Char(':') + describe(it.value());
    const ControllerState &controller = light->controller();
    parts << controller.deviceName << controller.serialNumber << controller.description;
    for (int number : controller.phases)
        parts << QString::number(number);
    return parts.join(QLatin1Char('|'));
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

class tst_ProjectStore : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryValue_data();
    void roundTripKeepsEveryValue();
    void openChoosesWhatTheFolderHolds_data();
    void openChoosesWhatTheFolderHolds();
    void unreadableFileIsLeftAsItWas_data();
    void unreadableFileIsLeftAsItWas();
    void failedSaveKeepsTheChanges();
    void fullDiskLeavesTheFileAsItWas_data();
    void fullDiskLeavesTheFileAsItWas();
    void lightRecordChangesWithTheSavedFile_data();
    void lightRecordChangesWithTheSavedFile();
    void reloadTakesTheFileAsEdited();
};

void tst_ProjectStore::roundTripKeepsEveryValue_data()
{
    QTest::addColumn<QString>("text");   // title, description, filters
    QTest::addColumn<QVariant>("value"); // one custom property
    QTest::addColumn<uint>("eventMask");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<bool>("schemaInside"); // a drawing inside the project folder

    QTest::newRow("Cyrillic text, a plain number")
        << QStringLiteral("пл. Центральная – ул. Набережная") << QVariant(4) << 0x31u
        << QPointF(37.6175, 55.7539) << true;
    QTest::newRow("nested list, mask with the high bit")
        << QStringLiteral("list")
        << QVariant(QVariantList{1, QStringLiteral("two"), 2.5, true, QVariantList(),
                                 QVariantList{QVariantList{7}},
                                 QVariantMap{{QStringLiteral("k/ey"), QStringLiteral("v")}}})
        << 0x80000021u << QPointF(-0.1, 0.2) << true;
    QTest::newRow("empty list against a list of one empty text")
        << QStringLiteral("lists") << QVariant(QStringList{QString()}) << 0xFFFFFFFFu
        << QPointF(1.0 / 3.0, -2.0 / 3.0) << false;
    QTest::newRow("an empty string list")
        << QStringLiteral("x") << QVariant(QStringList()) << 0x10000u << QPointF() << false;
    // Characters that the settings format itself gives meaning to.
    QTest::newRow("text with the format's own characters")
        << QStringLiteral("  a;b = [x] #c, \"q\" \\ \n new line  ")
        << QVariant(QStringLiteral("@Invalid()")) << 0x1u << QPointF(180, -90) << true;
    QTest::newRow("large and exact numbers")
        << QString() << QVariant(Q_UINT64_C(18446744073709551615)) << 0x7FFFFFFFu
        << QPointF(0.1 + 0.2, 1e-300) << true;
    QTest::newRow("a type kept in binary form")
        << QStringLiteral("point") << QVariant(QPointF(1.5, -2)) << 0u << QPointF(5, 5) << true;
    QTest::newRow("bytes that are no text")
        << QStringLiteral("bytes") << QVariant(QByteArray("\x00\xff\xfe", 3)) << 0u << QPointF(5, 5)
        << true;
    QTest::newRow("a moment in UTC")
        << QStringLiteral("date")
        << QVariant(QDateTime(QDate(2019, 6, 18), QTime(7, 30, 0, 250), Qt::UTC)) << 0u
        << QPointF(5, 5) << true;
}

void tst_ProjectStore::roundTripKeepsEveryValue()
{
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    QFETCH(uint, eventMask);
    QFETCH(QPointF, position);
    QFETCH(bool, schemaInside);

    QTemporaryDir saved;
    QTemporaryDir outside;
    const QString drawing = schemaInside ? saved.filePath(QStringLiteral("schemas/7/main.svg"))
                                         : outside.filePath(QStringLiteral("main.svg"));
    Project project;
    project.setFileName(ProjectStore::fileName(saved.path()));
    project.setBaseDir(saved.path());
    project.setTitle(text);
    project.serverConnection()->setRemoteHost(QStringLiteral("controllers.local"));
    project.serverConnection()->setRemotePort(4100);
    project.setConsoleRequestFilter(text);
    project.setConsoleResponseFilter(QStringLiteral("resp.request.command in (0x1101,)"));
    project.setConsoleNotificationFilter(QStringLiteral("0"));
    for (int id : {7, 3}) {
        auto *light = new Light;
        light->setId(id);
        light->setType(QStringLiteral("Arvel2"));
        light->setDescription(text);
        light->setPosition(position);
        light->setShema(drawing);
        light->setRcdControl(id == 7);
        light->setTloUseSgCnt(id);
        light->setEventMask(eventMask);
        light->createPhase(2, text)->setProperty("shema", drawing);
        light->createPhase(1, QString())->setProperty("shema", QString());
        light->createProgram(4, QStringLiteral("Ночная"));
        light->setCustomProperty(QStringLiteral("value"), value, text);
        light->setCustomProperty(QStringLiteral("plain"), QStringLiteral("text"), QString());
        light->controller().serialNumber = QStringLiteral("AV-1");
        light->controller().phases = {1, 2, 5};
        project.addLight(light);
    }
    project.setChanged(true);

    QString error;
    QVERIFY2(ProjectStore::save(&project, &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QVERIFY(!project.isChanged());

    // A copy is read from the disk, not from the settings cache of this
    // process, and shows that drawings inside the folder move with it.
    QTemporaryDir moved;
    QVERIFY(copyFolder(saved.path(), moved.path()));
    std::unique_ptr<Project> loaded(
        ProjectStore::load(ProjectStore::fileName(moved.path()), &error));
    QVERIFY2(loaded, qPrintable(error));
    QVERIFY(!loaded->isChanged());
    QCOMPARE(loaded->title(), project.title());
    QCOMPARE(loaded->serverConnection()->remoteHost(), QStringLiteral("controllers.local"));
    QCOMPARE(loaded->serverConnection()->remotePort(), 4100);
    QCOMPARE(loaded->consoleRequestFilter(), project.consoleRequestFilter());
    QCOMPARE(loaded->consoleResponseFilter(), project.consoleResponseFilter());
    QCOMPARE(loaded->consoleNotificationFilter(), project.consoleNotificationFilter());
    QCOMPARE(loaded->baseDir(), QDir(moved.path()).absolutePath());

    const QList<Light *> before = project.lights();
    const QList<Light *> after = loaded->lights();
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        QString expected = describeLight(before.at(i));
        if (schemaInside)
            expected.replace(saved.path(), QDir(moved.path()).absolutePath());
        QCOMPARE(describeLight(after.at(i)), expected);
    }
}

void tst_ProjectStore::openChoosesWhatTheFolderHolds_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<int>("lights");
    QTest::addColumn<QString>("title");

    QTest::newRow("a first start gets the sample") << QByteArray() << 5 << "Sample project";
    QTest::newRow("a blank file gets the sample")
        << QByteArray("\n; nothing yet\n") << 5 << "Sample project";
    // Earlier hosts kept only the map settings there; they stay.
    QTest::newRow("map settings of an older host get the sample")
        << QByteArray("[GraphicsScene]\nzoomMin=3\nzoomMax=5\n") << 5 << "Sample project";
    QTest::newRow("a saved project without controllers is read as it is")
        << QByteArray("[Project]\ntitle=Empty\n\n[Lights]\nsize=0\n") << 0 << "Empty";
    // A hand-edited file: an array longer than its entries, a duplicate and a
    // controller without an identifier.
    QTest::newRow("entries a project cannot have are left out")
        << QByteArray("[Project]\ntitle=Edited\n\n[Lights]\n1\\id=4\n2\\id=4\n3\\id=x\n"
                      "4\\id=9\nsize=2000000000\n")
        << 2 << "Edited";
}

void tst_ProjectStore::openChoosesWhatTheFolderHolds()
{
    QFETCH(QByteArray, file);
    QFETCH(int, lights);
    QFETCH(QString, title);

    QTemporaryDir folder;
    const QString fileName = ProjectStore::fileName(folder.path());
    if (!file.isNull()) {
        QFile out(fileName);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder.path(), &error));
    QVERIFY(project);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(project->lights().size(), lights);
    QCOMPARE(project->title(), title);
    QVERIFY(!project->isChanged());
    QVERIFY(project->settings());
    if (file.contains("zoomMin"))
        QCOMPARE(project->settings()->value(QStringLiteral("GraphicsScene/zoomMin")).toInt(), 3);

    // The sample was saved at once: the next start reads it.
    project.reset();
    QTemporaryDir copy;
    QVERIFY(copyFolder(folder.path(), copy.path()));
    project.reset(ProjectStore::load(ProjectStore::fileName(copy.path()), &error));
    QVERIFY2(project, qPrintable(error));
    QCOMPARE(project->lights().size(), lights);
}

void tst_ProjectStore::unreadableFileIsLeftAsItWas_data()
{
    QTest::addColumn<QByteArray>("file"); // null: a folder in the file's place

    QByteArray bytes;
    for (int i = 0; i < 512; ++i)
        bytes.append(char(i));
    // The settings reader takes these for an empty file without complaint.
    QTest::newRow("binary bytes") << bytes;
    QTest::newRow("text that is no settings") << QByteArray("hello\nworld\n");
    QTest::newRow("a broken section header") << QByteArray("[Project\ntitle=x\n");
    QTest::newRow("a folder in its place") << QByteArray();
}

void tst_ProjectStore::unreadableFileIsLeftAsItWas()
{
    QFETCH(QByteArray, file);

    QTemporaryDir folder;
    const QString fileName = ProjectStore::fileName(folder.path());
    if (file.isNull()) {
        QVERIFY(QDir().mkpath(fileName));
    } else {
        QFile out(fileName);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }

    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder.path(), &error));
    QVERIFY(project);
    QVERIFY(error.contains(QDir::toNativeSeparators(fileName)));
    QVERIFY(project->lights().isEmpty());
    QVERIFY(!project->settings());
    QVERIFY(!project->isChanged());
    QVERIFY(!ProjectStore::load(fileName, &error));
    project.reset();
    if (file.isNull())
        QVERIFY(QFileInfo(fileName).isDir());
    else
        QCOMPARE(fileBytes(fileName), file);

    // Saving after all keeps the unreadable file under another name.
    project.reset(ProjectStore::open(folder.path(), &error));
    project->setTitle(QStringLiteral("Fresh"));
    QString kept;
    QVERIFY2(ProjectStore::save(project.get(), &error, &kept), qPrintable(error));
    QCOMPARE(kept, fileName + QStringLiteral(".unreadable"));
    if (file.isNull())
        QVERIFY(QFileInfo(kept).isDir());
    else
        QCOMPARE(fileBytes(kept), file);
    project.reset();
    QTemporaryDir copy;
    QVERIFY(QFile::copy(fileName, ProjectStore::fileName(copy.path())));
    project.reset(ProjectStore::load(ProjectStore::fileName(copy.path()), &error));
    QVERIFY2(project, qPrintable(error));
    QCOMPARE(project->title(), QStringLiteral("Fresh"));
}

// A save that cannot be written keeps the project marked as changed, and
// once the place is writable again the next save works.
void tst_ProjectStore::failedSaveKeepsTheChanges()
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("project"));
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    project->setTitle(QStringLiteral("Changed"));
    project->editSettings([](QSettings *settings) {
        settings->setValue(QStringLiteral("GraphicsScene/zoomMax"), 12);
    });
    QVERIFY(project->isChanged());
    QVERIFY(!ProjectStore::save(project.get(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(project->isChanged());

    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY2(ProjectStore::save(project.get(), &error), qPrintable(error));
    QVERIFY(!project->isChanged());
    QSettings written(ProjectStore::fileName(folder), QSettings::IniFormat);
    QCOMPARE(written.value(QStringLiteral("Project/title")).toString(), QStringLiteral("Changed"));
    // What the map dialogs kept in the settings survived the renewal.
    QCOMPARE(written.value(QStringLiteral("GraphicsScene/zoomMin")).toInt(), 10);
    QCOMPARE(written.value(QStringLiteral("GraphicsScene/zoomMax")).toInt(), 12);
}

void tst_ProjectStore::fullDiskLeavesTheFileAsItWas_data()
{
    QTest::addColumn<int>("room"); // bytes a file may have; the new one has 20 KB

    // QSettings notices a failed write at 4 KB, but not at 16 KB.
    QTest::newRow("4 KB") << 4096;
    QTest::newRow("16 KB of the 20 KB") << 16384;
}

void tst_ProjectStore::fullDiskLeavesTheFileAsItWas()
{
    QFETCH(int, room);

    QTemporaryDir folder;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder.path(), &error));
    const QString file = ProjectStore::fileName(folder.path());
    const QByteArray before = fileBytes(file);
    project->setTitle(QString(12000, QLatin1Char('t')));
    project->setChanged(true);
    {
        const FileSizeLimit limit(room);
        QVERIFY(!ProjectStore::save(project.get(), &error));
    }
    QVERIFY(project->isChanged());
    QCOMPARE(fileBytes(file), before);
    QVERIFY2(error.contains(QDir::toNativeSeparators(file))
                 && error.contains(QString::fromLocal8Bit(strerror(EFBIG))),
             qPrintable(error));
    // With room again, the same save works.
    QVERIFY2(ProjectStore::save(project.get(), &error), qPrintable(error));
}

void tst_ProjectStore::lightRecordChangesWithTheSavedFile_data()
{
    QTest::addColumn<LightChange>("change");

    QTest::newRow("a phase's drawing") << LightChange([](Light *light) {
        light->phases().at(0)->setProperty("shema", QStringLiteral("/elsewhere.svg"));
    });
    QTest::newRow("a custom property's type only") << LightChange([](Light *light) {
        const QVariantList lanes =
            light->customProperties().value(QStringLiteral("lanes")).toList();
        light->setCustomProperty(QStringLiteral("lanes"), lanes.value(0).toString(),
                                 lanes.value(1).toString());
    });
    QTest::newRow("the position by a millimetre") << LightChange(
        [](Light *light) { light->setPosition(light->position() + QPointF(1e-8, 0)); });
}

// The host marks the project changed after the object dialog only when the
// record differs: a field it misses is an edit lost without a question.
void tst_ProjectStore::lightRecordChangesWithTheSavedFile()
{
    QFETCH(LightChange, change);

    QTemporaryDir folder;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder.path(), &error));
    Light *light = project->lights().value(0);
    QVERIFY(light);
    const QString file = ProjectStore::fileName(folder.path());
    const QByteArray saved = fileBytes(file);
    const QByteArray record = ProjectStore::lightRecord(light, project->baseDir());
    change(light);
    QVERIFY2(ProjectStore::save(project.get(), &error), qPrintable(error));
    QVERIFY(fileBytes(file) != saved);
    QVERIFY(ProjectStore::lightRecord(light, project->baseDir()) != record);
}

// After the settings editor changed the project file, the file is the project.
void tst_ProjectStore::reloadTakesTheFileAsEdited()
{
    QTemporaryDir folder;
    QString error;
    std::unique_ptr<Project> project(ProjectStore::open(folder.path(), &error));
    const QString file = ProjectStore::fileName(folder.path());
    project->setChanged(true);
    {
        QSettings edited(file, QSettings::IniFormat);
        edited.setValue(QStringLiteral("Project/title"), QStringLiteral("Edited"));
        edited.setValue(QStringLiteral("Lights/1/description"), QStringLiteral("Edited light"));
        edited.setValue(QStringLiteral("GraphicsScene/zoomMin"), 3);
    }
    QVERIFY2(ProjectStore::reload(project.get(), &error), qPrintable(error));
    QCOMPARE(project->title(), QStringLiteral("Edited"));
    QCOMPARE(project->lights().size(), 5);
    QCOMPARE(project->lights().at(0)->description(), QStringLiteral("Edited light"));
    QCOMPARE(project->settings()->value(QStringLiteral("GraphicsScene/zoomMin")).toInt(), 3);
    QVERIFY(!project->isChanged());

    // A file that holds no project any more leaves the project as it was.
    QSettings(file, QSettings::IniFormat).remove(QStringLiteral("Project"));
    QVERIFY(!ProjectStore::reload(project.get(), &error));
    QVERIFY(error.contains(QDir::toNativeSeparators(file)));
    QCOMPARE(project->lights().size(), 5);
}

QTEST_GUILESS_MAIN(tst_ProjectStore)

#include "tst_projectstore.moc"
