#include "formparts.h"
#include "inputmarks.h"
#include "modaldriver.h"
#include "osmviewpropertiesdlg.h"
#include "presetseditdlg.h"
#include "standinhost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

// A project settings file in a temporary folder, written from INI text.
struct SettingsFile
{
    explicit SettingsFile(const QByteArray &iniText)
    {
        QFile file(dir.filePath(QStringLiteral("project.ini")));
        if (file.open(QIODevice::WriteOnly))
            file.write(iniText);
        file.close();
        settings = std::make_unique<QSettings>(file.fileName(), QSettings::IniFormat);
    }
    // "key=value" for every key on disk, sorted.
    QStringList onDisk() const
    {
        settings->sync();
        QSettings fresh(settings->fileName(), QSettings::IniFormat);
        QStringList keys;
        for (const QString &key : fresh.allKeys())
            keys << key + QLatin1Char('=') + fresh.value(key).toString();
        keys.sort();
        return keys;
    }
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
};

QStringList items(QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// Steps a user takes on a table: "add", "remove", "select|row|column" or
// "edit|row|column|text" (typed through the cell's editor).
void act(QDialog &dialog, QTableWidget *table, const QString &step, const char *add,
         const char *remove)
{
    const QStringList f = step.split(QLatin1Char('|'));
    if (f.at(0) == QLatin1String("add"))
        return press(dialog, add);
    if (f.at(0) == QLatin1String("remove"))
        return press(dialog, remove);
    QTableWidgetItem *item = table->item(f.at(1).toInt(), f.at(2).toInt());
    QVERIFY(item);
    if (f.at(0) == QLatin1String("select"))
        return item->setSelected(true);
    table->setCurrentItem(item);
    table->editItem(item);
    auto *editor = table->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, f.at(3));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits in a queued call.
    QTRY_COMPARE(item->text(), f.at(3));
}

const QByteArray Sources("[Map]\nsize=3\n1\\name=Streets\n1\\dbFile=s.db\n1\\tileServer=t\n"
                         "2\\name=Satellite\n2\\dbFile=sat.db\n2\\tileServer=u\n"
                         "3\\name=Relief\n3\\tileServer=v\n"
                         "[GraphicsScene]\nzoomMin=7\nzoomMax=17\n[MapExtra]\nkeep=1\n");

const QByteArray Presets("DefaultPreset=Centre\n[Presets]\nsize=3\n"
                         "1\\name=Whole\n1\\toolTip=All\n1\\zoom=13\n"
                         "1\\lat=55.755826\n1\\lon=37.617298\n"
                         "2\\name=Centre\n2\\toolTip=Square\n2\\zoom=16\n"
                         "2\\lat=55.75\n2\\lon=37.6\n"
                         "3\\name=Station\n3\\toolTip=Forecourt\n3\\zoom=16.5\n"
                         "3\\lat=55.5\n3\\lon=37.5\n");

// A stored preset as its sorted "key=value" lines.
QStringList preset(int n, const char *name, const char *tip, const char *zoom, const char *lat,
                   const char *lon)
{
    const QString e = QStringLiteral("Presets/%1/").arg(n);
    return {e + "lat=" + lat, e + "lon=" + lon, e + "name=" + name, e + "toolTip=" + tip,
            e + "zoom=" + zoom};
}

} // namespace

class tst_MapDialogs : public QObject
{
    Q_OBJECT

private slots:
    void loadsMapSettings_data();
    void loadsMapSettings();
    void writesMapSettings_data();
    void writesMapSettings();
    void pushesChangedZoomLimitsOnly_data();
    void pushesChangedZoomLimitsOnly();
    void loadsPresets_data();
    void loadsPresets();
    void storesPresets_data();
    void storesPresets();
    void marksCentreThatIsNotStored_data();
    void marksCentreThatIsNotStored();
    void addsCurrentView_data();
    void addsCurrentView();
    void closesWhenSettingsAreDeleted_data();
    void closesWhenSettingsAreDeleted();
};

void tst_MapDialogs::loadsMapSettings_data()
{
    QTest::addColumn<QByteArray>("iniText");
    QTest::addColumn<QStringList>("shown"); // the sources, then the two zooms

    QTest::newRow("sources in order, missing file empty")
        << Sources << QStringList{"Streets|s.db|t", "Satellite|sat.db|u", "Relief||v", "7", "17"};
    QTest::newRow("zooms clamped")
        << QByteArray("[GraphicsScene]\nzoomMin=30\nzoomMax=0\n") << QStringList{"25", "1"};
    QTest::newRow("zoom not a number keeps the initial value")
        << QByteArray("[GraphicsScene]\nzoomMin=4\nzoomMax=high\n") << QStringList{"4", "20"};
    QTest::newRow("huge stored size opens at once")
        << QByteArray("[Map]\nsize=2000000000\n1\\name=A\n") << QStringList{"A||", "5", "20"};
}

void tst_MapDialogs::loadsMapSettings()
{
    QFETCH(QByteArray, iniText);
    QFETCH(QStringList, shown);

    SettingsFile file(iniText);
    OsmViewPropertiesDlg dialog(nullptr, file.settings.get(), nullptr);
    const QStringList found = rowTexts(part<QTableWidget>(dialog, "mapsTable"))
                              + QStringList{part<QSpinBox>(dialog, "minZoom")->text(),
                                            part<QSpinBox>(dialog, "maxZoom")->text()};
    QCOMPARE(found, shown);
}

void tst_MapDialogs::writesMapSettings_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("keys"); // beside GraphicsScene and MapExtra
    // The marks of the names and of the templates before OK ("t", "u", "v" are no templates).
    QTest::addColumn<QString>("marks");

    const QStringList one{"Map/1/dbFile=s.db", "Map/1/name=Streets", "Map/1/tileServer=t"};
    const QStringList two{"Map/2/dbFile=sat.db", "Map/2/name=Satellite", "Map/2/tileServer=u"};
    QTest::newRow("first of three removed")
        << QStringList{"select|0|1", "remove"} << true
        << QStringList{"Map/1/dbFile=sat.db", "Map/1/name=Satellite", "Map/1/tileServer=u",
                       "Map/2/dbFile=",       "Map/2/name=Relief",    "Map/2/tileServer=v",
                       "Map/size=2"}
        << "--|mm";
    QTest::newRow("two cells of one row remove that row only")
        << QStringList{"select|2|0", "select|2|2", "remove"} << true
        << one + two + QStringList{"Map/size=2"} << "--|mm";
    QTest::newRow("empty table leaves only the size")
        << QStringList{"select|0|0", "select|1|1", "select|2|2", "remove"} << true
        << QStringList{"Map/size=0"} << "|";
    QTest::newRow("added and typed source")
        << QStringList{"select|1|0", "select|2|0", "remove", "add", "edit|1|0|Topo, hills"} << true
        << one
               + QStringList{"Map/2/dbFile=", "Map/2/name=Topo, hills",
                             "Map/2/tileServer=", "Map/size=2"}
        << "--|m-";
    QTest::newRow("unnamed source and unusable template stored as typed")
        << QStringList{"add", "edit|3|2|https://t/{z}/{x}/{y}.png", "edit|0|2|file:///{z}/{x}/{y}"}
        << true
        << QStringList{"Map/1/dbFile=s.db", "Map/1/name=Streets",
                       "Map/1/tileServer=file:///{z}/{x}/{y}"}
               + two
               + QStringList{"Map/3/dbFile=",      "Map/3/name=Relief",
                             "Map/3/tileServer=v", "Map/4/dbFile=",
                             "Map/4/name=",        "Map/4/tileServer=https://t/{z}/{x}/{y}.png",
                             "Map/size=4"}
        << "---m|mmm-";
    QTest::newRow("cancel writes nothing")
        << QStringList{"select|0|0", "remove"} << false
        << one + two + QStringList{"Map/3/name=Relief", "Map/3/tileServer=v", "Map/size=3"}
        << "--|mm";
}

void tst_MapDialogs::writesMapSettings()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, accept);
    QFETCH(QStringList, keys);
    QFETCH(QString, marks);

    SettingsFile file(Sources);
    OsmViewPropertiesDlg dialog(nullptr, file.settings.get(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *table = part<QTableWidget>(dialog, "mapsTable");
    for (const QString &step : steps)
        act(dialog, table, step, "addMap", "removeMap");
    QCOMPARE(columnMarks(table, 0) + '|' + columnMarks(table, 2), marks);
    // The minimum need not stay below the maximum.
    part<QSpinBox>(dialog, "minZoom")->setValue(12);
    part<QSpinBox>(dialog, "maxZoom")->setValue(9);
    press(dialog, accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);

    keys << (accept ? QStringList{"GraphicsScene/zoomMax=9", "GraphicsScene/zoomMin=12"}
                    : QStringList{"GraphicsScene/zoomMax=17", "GraphicsScene/zoomMin=7"})
         << QStringLiteral("MapExtra/keep=1");
    keys.sort();
    QCOMPARE(file.onDisk(), keys);
}

void tst_MapDialogs::pushesChangedZoomLimitsOnly_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<int>("minZoom");
    QTest::addColumn<int>("maxZoom");
    QTest::addColumn<QStringList>("writes");

    // The stand-in view starts at 3..19.
    QTest::newRow("both differ") << "map" << 7 << 17
                                 << QStringList{"view.zoomMin = int 7", "view.zoomMax = int 17"};
    QTest::newRow("minimum already set")
        << "map" << 3 << 17 << QStringList{"view.zoomMax = int 17"};
    QTest::newRow("neither differs") << "map" << 3 << 19 << QStringList{};
    QTest::newRow("limits not integers") << "text" << 7 << 17 << QStringList{};
    QTest::newRow("no view") << "none" << 7 << 17 << QStringList{};
}

void tst_MapDialogs::pushesChangedZoomLimitsOnly()
{
    QFETCH(QString, view);
    QFETCH(int, minZoom);
    QFETCH(int, maxZoom);
    QFETCH(QStringList, writes);

    QStringList log;
    OsmView mapView(&log);
    mapView.presetZoom(3, 19, 14.5);
    QObject textView;
    textView.setProperty("zoomMin", QStringLiteral("low"));
    textView.setProperty("zoomMax", QStringLiteral("high"));
    QObject *target = view == QLatin1String("map")    ? &mapView
                      : view == QLatin1String("text") ? &textView
                                                      : nullptr;
    SettingsFile file("");
    OsmViewPropertiesDlg dialog(nullptr, file.settings.get(), target);
    part<QSpinBox>(dialog, "minZoom")->setValue(minZoom);
    part<QSpinBox>(dialog, "maxZoom")->setValue(maxZoom);
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(log, writes);
    QCOMPARE(textView.property("zoomMax").toString(), QStringLiteral("high"));
    QCOMPARE(file.onDisk(), (QStringList{QStringLiteral("GraphicsScene/zoomMax=%1").arg(maxZoom),
                                         QStringLiteral("GraphicsScene/zoomMin=%1").arg(minZoom),
                                         QStringLiteral("Map/size=0")}));
}

void tst_MapDialogs::loadsPresets_data()
{
    QTest::addColumn<QByteArray>("iniText");
    QTest::addColumn<QStringList>("presets");
    QTest::addColumn<int>("currentDefault");

    QTest::newRow("six-digit centres")
        << Presets
        << QStringList{"Whole|All|13|37.6173;55.7558", "Centre|Square|16|37.6;55.75",
                       "Station|Forecourt|16.5|37.5;55.5"}
        << 1;
    QTest::newRow("missing or bad coordinates read as 0")
        << QByteArray("[Presets]\nsize=2\n1\\name=A\n2\\name=B\n2\\lat=nan\n2\\lon=inf\n")
        << QStringList{"A|||0;0", "B|||0;0"} << -1;
    QTest::newRow("first of two same-named defaults")
        << QByteArray("DefaultPreset=H\n[Presets]\nsize=2\n1\\name=H\n1\\zoom=1\n2\\name=H\n")
        << QStringList{"H||1|0;0", "H|||0;0"} << 0;
    QTest::newRow("default in another case, or absent, names none")
        << QByteArray("DefaultPreset=h\n[Presets]\nsize=2\n1\\name=H\n2\\name=\n")
        << QStringList{"H|||0;0", "|||0;0"} << -1;
    QTest::newRow("huge size, missing entry")
        << QByteArray("DefaultPreset=C\n[Presets]\nsize=2000000000\n1\\name=A\n3\\name=C\n")
        << QStringList{"A|||0;0", "C|||0;0"} << 1;
}

void tst_MapDialogs::loadsPresets()
{
    QFETCH(QByteArray, iniText);
    QFETCH(QStringList, presets);
    QFETCH(int, currentDefault);

    SettingsFile file(iniText);
    PresetsEditDlg dialog(nullptr, file.settings.get(), nullptr);
    auto *table = part<QTableWidget>(dialog, "presets");
    auto *defaults = part<QComboBox>(dialog, "defaultPreset");
    QCOMPARE(rowTexts(table), presets);
    QCOMPARE(items(defaults), rowTexts(table, 1));
    QCOMPARE(defaults->currentIndex(), currentDefault);
}

void tst_MapDialogs::storesPresets_data()
{
    // Steps as for act(), and "default|index".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("invalidRows");
    QTest::addColumn<QStringList>("keys");

    const QStringList whole = preset(1, "Whole", "All", "13", "55.7558", "37.6173");
    const QStringList centre = preset(2, "Centre", "Square", "16", "55.75", "37.6");
    const QStringList station = preset(3, "Station", "Forecourt", "16.5", "55.5", "37.5");
    const QStringList centreFirst = preset(1, "Centre", "Square", "16", "55.75", "37.6");
    const QStringList stationSecond = preset(2, "Station", "Forecourt", "16.5", "55.5", "37.5");
    const QStringList byDefault{"DefaultPreset=Centre"};
    auto size = [](int n) {
        return QStringList{QStringLiteral("Presets/size=%1").arg(n)};
    };

    QTest::newRow("custom preset without centre not stored")
        << QStringList{"add"} << true << 1 << byDefault + whole + centre + station + size(3);
    QTest::newRow("spaces around the numbers")
        << QStringList{"add", "edit|3|2|12", "edit|3|3| 37.5 ; 55.75 "} << true << 0
        << byDefault + whole + centre + station
               + preset(4, "Preset", "Preset", "12", "55.75", "37.5") + size(4);
    QTest::newRow("three parts: later rows close up")
        << QStringList{"edit|0|3|37.5;55.75;1"} << true << 1
        << byDefault + centreFirst + stationSecond + size(2);
    QTest::newRow("not a number drops the default's row and the default")
        << QStringList{"edit|1|3|nan;55.75"} << true << 1 << whole + stationSecond + size(2);
    QTest::newRow("overflow") << QStringList{"edit|2|3|37.5;1e400"} << true << 1
                              << byDefault + whole + centre + size(2);
    QTest::newRow("default follows a rename")
        << QStringList{"edit|1|0|Middle"} << true << 0
        << QStringList{"DefaultPreset=Middle"} + whole
               + preset(2, "Middle", "Square", "16", "55.75", "37.6") + station + size(3);
    QTest::newRow("two cells of the default's row remove it and the default")
        << QStringList{"select|1|0", "select|1|3", "remove"} << true << 0
        << whole + stationSecond + size(2);
    QTest::newRow("another default chosen, a row before it removed")
        << QStringList{"default|2", "select|0|2", "remove"} << true << 0
        << QStringList{"DefaultPreset=Station"} + centreFirst + stationSecond + size(2);
    QTest::newRow("empty table stores an empty list")
        << QStringList{"select|0|0", "select|1|1", "select|2|2", "remove"} << true << 0 << size(0);
    QTest::newRow("cancel writes nothing")
        << QStringList{"edit|1|0|Middle", "select|0|0", "remove"} << false << 0
        << byDefault + preset(1, "Whole", "All", "13", "55.755826", "37.617298") + centre + station
               + size(3);
}

void tst_MapDialogs::storesPresets()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, accept);
    QFETCH(int, invalidRows);
    QFETCH(QStringList, keys);

    SettingsFile file(Presets);
    PresetsEditDlg dialog(nullptr, file.settings.get(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *table = part<QTableWidget>(dialog, "presets");
    auto *defaults = part<QComboBox>(dialog, "defaultPreset");
    for (const QString &step : steps) {
        if (step.startsWith(QLatin1String("default|")))
            defaults->setCurrentIndex(step.mid(8).toInt());
        else
            act(dialog, table, step, "addCustom", "remove");
        // The default list stays parallel to the rows through every step.
        QCOMPARE(items(defaults), rowTexts(table, 1));
    }
    for (int i = 0; i < invalidRows; ++i)
        QTest::ignoreMessage(QtDebugMsg, "Invalid coordinate point");
    press(dialog, accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    keys.sort();
    QCOMPARE(file.onDisk(), keys);
}

void tst_MapDialogs::marksCentreThatIsNotStored_data()
{
    QTest::addColumn<QString>("centre");
    QTest::addColumn<bool>("stored");

    QTest::newRow("spaces around the numbers") << " 37.5 ; 55.75 " << true;
    QTest::newRow("three parts") << "37.5;55.75;1" << false;
    QTest::newRow("not a number") << "nan;55.75" << false;
    QTest::newRow("overflow") << "37.5;1e400" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("space instead of separator") << "55.7 37.6" << false;
}

void tst_MapDialogs::marksCentreThatIsNotStored()
{
    QFETCH(QString, centre);
    QFETCH(bool, stored);

    SettingsFile file(Presets);
    PresetsEditDlg dialog(nullptr, file.settings.get(), nullptr);
    auto *table = part<QTableWidget>(dialog, "presets");
    press(dialog, "addCustom");
    QStringList marks{columnMarks(table, 3)};
    for (const QString &text : {centre, QStringLiteral("37.6175;55.7539"), centre}) {
        table->item(3, 3)->setText(text); // as the cell's editor commits it
        marks << columnMarks(table, 3);
    }
    const QString typed = stored ? "----" : "---m";
    QCOMPARE(marks, (QStringList{"---m", typed, "----", typed}));

    if (!stored)
        QTest::ignoreMessage(QtDebugMsg, "Invalid coordinate point");
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(file.settings->value(QStringLiteral("Presets/size")).toInt(), stored ? 4 : 3);
}

void tst_MapDialogs::addsCurrentView_data()
{
    QTest::addColumn<bool>("withView");
    QTest::addColumn<int>("clicks");

    QTest::newRow("twice gives two alike") << true << 2;
    QTest::newRow("no view, nothing added") << false << 1;
}

void tst_MapDialogs::addsCurrentView()
{
    QFETCH(bool, withView);
    QFETCH(int, clicks);

    QGraphicsScene scene(QRectF(0, 0, 100, 100));
    OsmView view(nullptr, &scene);
    view.presetZoom(3, 19, 14.5);
    view.resize(300, 200);
    // A million pixels a unit: half a pixel is far below six significant digits.
    view.setTransform(QTransform::fromScale(1e6, 1e6));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.centerOn(37.5, 55.75);

    SettingsFile file("");
    PresetsEditDlg dialog(nullptr, file.settings.get(), withView ? &view : nullptr);
    for (int i = 0; i < clicks; ++i)
        press(dialog, "addCurrent");
    QStringList added;
    for (int i = 0; withView && i < clicks; ++i)
        added << QStringLiteral("Preset|Preset|14.5|37.5;55.75");
    auto *table = part<QTableWidget>(dialog, "presets");
    QCOMPARE(rowTexts(table), added);
    QCOMPARE(items(part<QComboBox>(dialog, "defaultPreset")), rowTexts(table, 1));
}

void tst_MapDialogs::closesWhenSettingsAreDeleted_data()
{
    QTest::addColumn<bool>("presets");
    QTest::newRow("map properties") << false;
    QTest::newRow("presets") << true;
}

// The host may close the project, and its settings, while a dialog is open.
void tst_MapDialogs::closesWhenSettingsAreDeleted()
{
    QFETCH(bool, presets);
    SettingsFile file(Presets);
    std::unique_ptr<QDialog> dialog;
    if (presets)
        dialog = std::make_unique<PresetsEditDlg>(nullptr, file.settings.get(), nullptr);
    else
        dialog = std::make_unique<OsmViewPropertiesDlg>(nullptr, file.settings.get(), nullptr);
    ModalDriver driver([&file](QWidget *) { file.settings.reset(); });
    QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    dialog->accept(); // must not reach the deleted settings
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_MapDialogs)
#include "tst_mapdialogs.moc"
