#include "sampleproject.h"

#include "connection.h"
#include "light.h"
#include "mapkeys.h"
#include "phase.h"
#include "project.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace Arvel {

namespace {

struct SampleLight
{
    int id;
    const char *type;
    const char *description;
    double lon;
    double lat;
    int phases;           // the object knows phases 1..phases
    int controllerPhases; // the live controller has 1..controllerPhases
    bool rcd;
    uint eventMask;
    const char *deviceName;
};

// One type ("Сигнал-М") is outside the editor's type list on purpose.
const SampleLight Lights[] = {
    {101, "Арвел V3.17", "пл. Центральная – ул. Набережная", 37.6175, 55.7539, 3, 4, true, 0x31,
     "Arvel2"},
    {102, "Arvel2", "ул. Садовая – пр. Мира", 37.6302, 55.7601, 4, 4, false, 0x11, "Arvel2"},
    {103, "Шлюз-ЛТ9", "ул. Речная – ул. Школьная", 37.6051, 55.7482, 2, 3, false, 0x3,
     "LT9 gateway"},
    {104, "TriLink4", "пр. Победы – ул. Лесная", 37.6412, 55.7467, 3, 3, true, 0x0, "TriLink4"},
    {105, "Сигнал-М", "пешеходный переход у вокзала", 37.5986, 55.7627, 2, 5, false, 0x101,
     "АРВЕЛ-М"},
};

const char *const PhaseNames[] = {"",           "Север – юг", "Восток – запад", "Левые повороты",
                                  "Пешеходная", "Все красные"};

// The sample's own map, drawn at build time for zoom 10 to 17.
const char SampleTiles[] = "tiles/city.mbtiles";
const char SampleTilesResource[] = ":/sample/city.mbtiles";

void writeFileOnce(const QString &path, const QByteArray &contents)
{
    if (QFile::exists(path))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

// A crossing with the open road in green: phase 0 stands for the whole plan.
QByteArray schemaSvg(int lightId, int phase)
{
    const bool northSouth = phase % 2 == 1;
    const QString title = phase > 0 ? QStringLiteral("%1, phase %2").arg(lightId).arg(phase)
                                    : QStringLiteral("%1").arg(lightId);
    QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"200\" "
                       "viewBox=\"0 0 200 200\">\n"
                       "  <rect width=\"200\" height=\"200\" fill=\"#f2efe9\"/>\n"
                       "  <rect x=\"75\" y=\"0\" width=\"50\" height=\"200\" fill=\"#888\"/>\n"
                       "  <rect x=\"0\" y=\"75\" width=\"200\" height=\"50\" fill=\"#888\"/>\n");
    if (phase > 0) {
        svg += QStringLiteral("  <line x1=\"100\" y1=\"5\" x2=\"100\" y2=\"70\" stroke=\"%1\" "
                              "stroke-width=\"6\"/>\n"
                              "  <line x1=\"5\" y1=\"100\" x2=\"70\" y2=\"100\" stroke=\"%2\" "
                              "stroke-width=\"6\"/>\n")
                   .arg(northSouth ? QStringLiteral("#28be46") : QStringLiteral("#e62828"),
                        northSouth ? QStringLiteral("#e62828") : QStringLiteral("#28be46"));
    }
    svg += QStringLiteral("  <text x=\"140\" y=\"190\" font-size=\"14\">%1</text>\n</svg>\n")
               .arg(title);
    return svg.toUtf8();
}

void seedSettings(QSettings *settings, const QPointF &center)
{
    if (!settings->contains(MapKeys::Sources + QLatin1String("/size"))) {
        const struct
        {
            const char *name;
            const char *dbFile;
            const char *tileServer;
        } sources[] = {
            {"City streets", SampleTiles, ""},
            {"Tile server on this computer", "", "http://localhost:8080/{z}/{x}/{y}.png"},
        };
        settings->beginWriteArray(MapKeys::Sources);
        int index = 0;
        for (const auto &source : sources) {
            settings->setArrayIndex(index++);
            settings->setValue(MapKeys::SourceName, QString::fromUtf8(source.name));
            settings->setValue(MapKeys::SourceDbFile, QString::fromUtf8(source.dbFile));
            settings->setValue(MapKeys::SourceTileServer, QString::fromUtf8(source.tileServer));
        }
        settings->endArray();
    }
    if (!settings->contains(MapKeys::ZoomMin)) {
        settings->setValue(MapKeys::ZoomMin, 10);
        settings->setValue(MapKeys::ZoomMax, 17);
    }
    if (!settings->contains(MapKeys::Presets + QLatin1String("/size"))) {
        struct Preset
        {
            const char *name;
            const char *toolTip;
            const char *zoom;
            QPointF center;
        };
        const Preset presets[] = {
            {"Whole area", "All controllers of the project", "13", center},
            {"Centre", "The central square", "16", QPointF(37.6175, 55.7539)},
            {"Station", "The station forecourt", "16", QPointF(37.5986, 55.7627)},
        };
        // As the presets editor shows a centre, so that accepting it
        // unchanged leaves the project unchanged.
        const auto shown = [](double value) {
            return QString::number(value, 'g', 6).toDouble();
        };
        settings->beginWriteArray(MapKeys::Presets);
        int index = 0;
        for (const Preset &preset : presets) {
            settings->setArrayIndex(index++);
            settings->setValue(MapKeys::PresetName, QString::fromUtf8(preset.name));
            settings->setValue(MapKeys::PresetToolTip, QString::fromUtf8(preset.toolTip));
            settings->setValue(MapKeys::PresetZoom, QString::fromUtf8(preset.zoom));
            settings->setValue(MapKeys::PresetLatitude, shown(preset.center.y()));
            settings->setValue(MapKeys::PresetLongitude, shown(preset.center.x()));
        }
        settings->endArray();
        settings->setValue(MapKeys::DefaultPreset, QStringLiteral("Whole area"));
    }
    settings->sync();
}

} // namespace

Project *createSampleProject(const QString &baseDir, const QVariantMap &settings, QObject *parent)
{
    QDir dir(baseDir);
    dir.mkpath(QStringLiteral("."));

    auto *project = new Project(parent);
    project->setTitle(QStringLiteral("Sample project"));
    project->setBaseDir(dir.absolutePath());
    project->setFileName(dir.absoluteFilePath(QStringLiteral("project.ini")));
    project->serverConnection()->setRemoteHost(QStringLiteral("127.0.0.1"));
    project->serverConnection()->setRemotePort(4100);

    const QStringList programNames = {QStringLiteral("Утренний час пик"), QStringLiteral("Дневная"),
                                      QStringLiteral("Вечерний час пик"), QStringLiteral("Ночная")};
    QPointF center;
    for (const SampleLight &sample : Lights) {
        const QString schemaDir = dir.absoluteFilePath(QStringLiteral("schemas/%1").arg(sample.id));
        QDir().mkpath(schemaDir);
        writeFileOnce(schemaDir + QStringLiteral("/main.svg"), schemaSvg(sample.id, 0));
        for (int phase = 1; phase <= sample.controllerPhases; ++phase)
            writeFileOnce(schemaDir + QStringLiteral("/phase%1.svg").arg(phase),
                          schemaSvg(sample.id, phase));

        auto *light = new Light;
        light->setId(sample.id);
        light->setType(QString::fromUtf8(sample.type));
        light->setDescription(QString::fromUtf8(sample.description));
        light->setPosition(QPointF(sample.lon, sample.lat));
        light->setShema(schemaDir + QStringLiteral("/main.svg"));
        light->setRcdControl(sample.rcd);
        light->setEventMask(sample.eventMask);
        light->setTloUseSgCnt(sample.eventMask & 0x20 ? 1 : 0);
        for (int phase = 1; phase <= sample.phases; ++phase) {
            QObject *created = light->createPhase(phase, QString::fromUtf8(PhaseNames[phase]));
            created->setProperty("shema", schemaDir + QStringLiteral("/phase%1.svg").arg(phase));
        }
        const int programs = 2 + sample.id % 3;
        for (int program = 1; program <= programs; ++program)
            light->createProgram(program, programNames.at(program - 1));
        light->setCustomProperty(QStringLiteral("district"), QStringLiteral("Центральный"),
                                 QStringLiteral("Administrative district"));
        light->setCustomProperty(QStringLiteral("installed"),
                                 QStringLiteral("2019-06-%1").arg(sample.id % 28 + 1),
                                 QStringLiteral("Date of installation"));
        light->setCustomProperty(QStringLiteral("lanes"), 2 + sample.id % 3,
                                 QStringLiteral("Lanes on the main approach"));

        ControllerState &controller = light->controller();
        controller.deviceName = QString::fromUtf8(sample.deviceName);
        controller.serialNumber = QStringLiteral("AV-%1").arg(700000 + sample.id * 37);
        controller.description = light->description();
        controller.position = light->position();
        for (int phase = 1; phase <= sample.controllerPhases; ++phase)
            controller.phases.append(phase);
        for (int program = 1; program <= programs + 1; ++program)
            controller.programs.append(program);

        project->addLight(light);
        center += light->position();
    }
    center /= double(std::size(Lights));

    const QString tiles = dir.absoluteFilePath(QString::fromLatin1(SampleTiles));
    if (!QFileInfo::exists(tiles) && QFile::exists(QString::fromLatin1(SampleTilesResource))) {
        dir.mkpath(QFileInfo(tiles).path());
        QFile::copy(QString::fromLatin1(SampleTilesResource), tiles);
        // A copy of a resource is read-only; the user may replace it.
        QFile::setPermissions(tiles, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                         | QFile::ReadOther);
    }

    project->openSettings(settings);
    seedSettings(project->settings(), center);
    project->setChanged(false);
    return project;
}

} // namespace Arvel
