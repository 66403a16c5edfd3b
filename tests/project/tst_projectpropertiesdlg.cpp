#include "filterwidget.h"
#include "formparts.h"
#include "inputmarks.h"
#include "projectpropertiesdlg.h"
#include "pythonfixture.h"
#include "standinhost.h"

#include <PythonQt.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const char *const attributes[] = {"requestFilter", "responseFilter", "notificationFilter"};

// The host module "arvel" with av_module and the given filters; a null
// string leaves that attribute out.
PythonQtObjectPtr makeHostModule(const QStringList &filters,
                                 const QString &script = QStringLiteral("class _M: pass\n"
                                                                        "av_module = _M()\n"))
{
    // PythonQt runs a script into a module of the same name that is already
    // there, which would keep the last case's av_module.
    PythonQt::self()->evalScript(PythonQt::self()->getMainModule(),
                                 QStringLiteral("import sys\nsys.modules.pop('arvel', None)\n"));
    PythonQtObjectPtr arvel =
        PythonQt::self()->createModuleFromScript(QStringLiteral("arvel"), script);
    for (int i = 0; i < filters.size(); ++i) {
        if (filters.at(i).isNull())
            continue;
        arvel.addVariable(QStringLiteral("_text"), filters.at(i));
        arvel.evalScript(QStringLiteral("av_module.%1 = _text\n").arg(attributes[i]));
        arvel.removeVariable(QStringLiteral("_text"));
    }
    return arvel;
}

// The three attributes as Python holds them; "<missing>" for an absent one.
QStringList pythonFilters(PythonQtObjectPtr &arvel)
{
    QStringList filters;
    for (const char *attribute : attributes) {
        const QString name = QLatin1String(attribute);
        const bool present =
            arvel.evalScript(QStringLiteral("hasattr(av_module, '%1')").arg(name), Py_eval_input)
                .toBool();
        filters << (present ? arvel.evalScript(QStringLiteral("av_module.") + name, Py_eval_input)
                                  .toString()
                            : QStringLiteral("<missing>"));
    }
    return filters;
}

bool inMainModule(const QString &name)
{
    return PythonQt::self()
        ->evalScript(PythonQt::self()->getMainModule(),
                     QStringLiteral("'%1' in globals()").arg(name), Py_eval_input)
        .toBool();
}

// The host's project with its connection, as the dialog finds them, and the
// log of what was written to them.
struct Host
{
    explicit Host(bool withConnection = true)
        : connection(&log)
        , project(&log)
    {
        connection.preset("remoteHost", QStringLiteral("ctl.example"));
        connection.preset("remotePort", 4000);
        project.preset("title", QStringLiteral("North district"));
        project.preset("fileName", QStringLiteral("/projects/north/north.avp"));
        project.preset("baseDir", QStringLiteral("/projects/north"));
        if (withConnection)
            project.preset("connection", QVariant::fromValue<QObject *>(&connection));
    }

    QStringList writes(const char *label) const
    {
        return log.filter(QRegularExpression(QStringLiteral("^%1\\.").arg(QLatin1String(label))));
    }

    QStringList log;
    Arvel::Connection connection;
    Arvel::Project project;
};

// How the server field is marked as input that OK drops.
QString serverMark(QDialog &dialog)
{
    return fieldMark(part<QLineEdit>(dialog, "serverUrl"), part<QLineEdit>(dialog, "name"));
}

} // namespace

class tst_ProjectPropertiesDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void formHasNamedParts_data();
    void formHasNamedParts();
    void showsProject();

    void okRewritesFiltersTitleAndChanged();
    void filterTextReachesPythonAsValue_data();
    void filterTextReachesPythonAsValue();
    void cancelWritesNothing();

    void nullProjectLeavesOkInert();
    void missingConnectionLeavesFiltersAlone();
    void unreadFiltersStayUntouched_data();
    void unreadFiltersStayUntouched();

    void writesServerAddress_data();
    void writesServerAddress();
};

void tst_ProjectPropertiesDlg::initTestCase()
{
    QVERIFY(PythonFixture::start());
}

void tst_ProjectPropertiesDlg::cleanupTestCase()
{
    PythonFixture::stop();
}

void tst_ProjectPropertiesDlg::formHasNamedParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    const QList<QPair<const char *, const char *>> parts{{"verticalLayout", "QVBoxLayout"},
                                                         {"horizontalLayout", "QHBoxLayout"},
                                                         {"horizontalLayout_3", "QHBoxLayout"},
                                                         {"horizontalLayout_4", "QHBoxLayout"},
                                                         {"label", "QLabel"},
                                                         {"label_2", "QLabel"},
                                                         {"label_3", "QLabel"},
                                                         {"label_4", "QLabel"},
                                                         {"name", "QLineEdit"},
                                                         {"serverUrl", "QLineEdit"},
                                                         {"projectFile", "QLineEdit"},
                                                         {"filterWidget", "FilterWidget"},
                                                         {"buttonBox", "QDialogButtonBox"}};
    for (const auto &p : parts)
        QTest::newRow(p.first) << p.first << p.second;
}

void tst_ProjectPropertiesDlg::formHasNamedParts()
{
    QFETCH(QString, name);
    QFETCH(QString, className);

    QTest::ignoreMessage(QtDebugMsg, "ProjectPropertiesDlg - null project");
    ProjectPropertiesDlg dialog(nullptr, nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("ProjectPropertiesDlg"));
    QObject *object = dialog.findChild<QObject *>(name);
    QVERIFY(object);
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
}

void tst_ProjectPropertiesDlg::showsProject()
{
    makeHostModule({"request.command in (0x1000,)", "resp.error", ""});
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Project properies"));
    QCOMPARE(part<QLineEdit>(dialog, "name")->text(), QStringLiteral("North district"));
    QCOMPARE(part<QLineEdit>(dialog, "serverUrl")->text(), QStringLiteral("//ctl.example:4000"));
    auto *file = part<QLineEdit>(dialog, "projectFile");
    QCOMPARE(file->text(), QStringLiteral("/projects/north/north.avp"));
    QVERIFY(file->isReadOnly());
    QVERIFY(file->isEnabled());

    QCOMPARE(part<QLineEdit>(dialog, "customFilterText")->text(),
             QStringLiteral("request.command in (0x1000,)"));
    QVERIFY(!part<QCheckBox>(dialog, "customFilter")->isChecked());
    QCOMPARE(part<QLineEdit>(dialog, "customFilterText_2")->text(), QStringLiteral("resp.error"));
    QVERIFY(part<QCheckBox>(dialog, "customFilter_2")->isChecked());
    QVERIFY(!part<QWidget>(dialog, "tab_3")->isEnabled());
    QVERIFY(!inMainModule(QStringLiteral("av_module")));
    QVERIFY(host.writes("project").isEmpty());
}

void tst_ProjectPropertiesDlg::okRewritesFiltersTitleAndChanged()
{
    PythonQtObjectPtr arvel =
        makeHostModule({"request.command in (0x1000,0x1100,)", "", "notify.id  in  (0x1,)"});
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // An empty filter reads as a disabled tab and is stored as "0".
    const QStringList filters{"request.command in (0x1000,0x1100,)", "0", "notify.id in (0x1,)"};
    QCOMPARE(
        host.writes("project"),
        QStringList({"project.consoleRequestFilter = QString " + filters[0],
                     "project.consoleResponseFilter = QString " + filters[1],
                     "project.consoleNotificationFilter = QString " + filters[2],
                     "project.title = QString North district", "project.changed = bool true"}));
    QCOMPARE(pythonFilters(arvel), filters);
    QVERIFY(host.writes("connection").isEmpty());
    QVERIFY(!inMainModule(QStringLiteral("av_module")));
    QVERIFY(!inMainModule(QStringLiteral("_editor2_filter_text")));
}

void tst_ProjectPropertiesDlg::filterTextReachesPythonAsValue_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("typed");

    QTest::newRow("quotes, backslash and new line")
        << 0 << "request.command == 0x1000 and 'it\\'s' != \"a\\\\b\"\nor True";
    QTest::newRow("non-ASCII") << 2 << "notify.id == 1 and 'Авария' != '«»'";
    // Spliced into an assignment, this text would end the string and run the
    // statement after it.
    QTest::newRow("text that would run code")
        << 1 << "x'\nimport arvel; arvel.av_module.hacked = 1\ny='";
    QTest::newRow("triple quotes") << 1 << "'''\"\"\"";
}

void tst_ProjectPropertiesDlg::filterTextReachesPythonAsValue()
{
    QFETCH(int, tab);
    QFETCH(QString, typed);

    PythonQtObjectPtr arvel =
        makeHostModule({"request.command > 0", "resp.request.command > 0", "notify.id > 0"});
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);
    const char *const edits[] = {"customFilterText", "customFilterText_2", "customFilterText_3"};
    part<QLineEdit>(dialog, edits[tab])->setText(typed);
    press(dialog, QDialogButtonBox::Ok);

    QStringList expected{"request.command > 0", "resp.request.command > 0", "notify.id > 0"};
    expected[tab] = typed;
    QCOMPARE(pythonFilters(arvel), expected);
    const char *const properties[] = {"consoleRequestFilter", "consoleResponseFilter",
                                      "consoleNotificationFilter"};
    QCOMPARE(host.project.property(properties[tab]).toString(), typed);
    QVERIFY(
        !arvel.evalScript(QStringLiteral("hasattr(av_module, 'hacked')"), Py_eval_input).toBool());
}

void tst_ProjectPropertiesDlg::cancelWritesNothing()
{
    const QStringList filters{"request.command in (0x1000,)", "resp.error", "notify.id > 3"};
    PythonQtObjectPtr arvel = makeHostModule(filters);
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);
    part<QLineEdit>(dialog, "name")->setText(QStringLiteral("South"));
    part<QLineEdit>(dialog, "serverUrl")->setText(QStringLiteral("//other:1"));
    part<QLineEdit>(dialog, "customFilterText_2")->setText(QStringLiteral("True"));
    press(dialog, QDialogButtonBox::Cancel);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(host.writes("project").isEmpty());
    QVERIFY(host.writes("connection").isEmpty());
    QCOMPARE(pythonFilters(arvel), filters);
}

void tst_ProjectPropertiesDlg::nullProjectLeavesOkInert()
{
    QTest::ignoreMessage(QtDebugMsg, "ProjectPropertiesDlg - null project");
    ProjectPropertiesDlg dialog(nullptr, nullptr);
    QVERIFY(part<QLineEdit>(dialog, "name")->text().isEmpty());
    QVERIFY(part<QLineEdit>(dialog, "serverUrl")->text().isEmpty());
    QVERIFY(part<QWidget>(dialog, "tab")->isEnabled());

    dialog.setResult(-1);
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(dialog.result(), -1);
}

void tst_ProjectPropertiesDlg::missingConnectionLeavesFiltersAlone()
{
    const QStringList filters{"request.command in (0x1000,)", "0", "notify.id > 3"};
    PythonQtObjectPtr arvel = makeHostModule(filters);
    Host host(false);
    QTest::ignoreMessage(QtDebugMsg, "ProjectPropertiesDlg - invalid connection");
    ProjectPropertiesDlg dialog(nullptr, &host.project);

    QCOMPARE(part<QLineEdit>(dialog, "name")->text(), QStringLiteral("North district"));
    QVERIFY(part<QLineEdit>(dialog, "serverUrl")->text().isEmpty());
    for (const char *tab : {"tab", "tab_2", "tab_3"})
        QVERIFY(!part<QWidget>(dialog, tab)->isEnabled());

    part<QLineEdit>(dialog, "serverUrl")->setText(QStringLiteral("//other:1"));
    QCOMPARE(serverMark(dialog), QStringLiteral("marked"));
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(host.writes("project"), QStringList({"project.title = QString North district",
                                                  "project.changed = bool true"}));
    QCOMPARE(pythonFilters(arvel), filters);
}

void tst_ProjectPropertiesDlg::unreadFiltersStayUntouched_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("inPython");

    const QString plain = QStringLiteral("class _M: pass\nav_module = _M()\n");
    QTest::newRow("attribute missing")
        << plain << QStringList{"request.command in (0x1000,)", QString(), ""}
        << QStringList{"project.consoleRequestFilter = QString request.command in (0x1000,)",
                       "project.consoleNotificationFilter = QString 0",
                       "project.title = QString North district", "project.changed = bool true"}
        << QStringList{"request.command in (0x1000,)", "<missing>", "0"};
    QTest::newRow("attribute raises")
        << plain
               + "class _R:\n    @property\n    def notificationFilter(self): raise "
                 "RuntimeError('no console')\n_M.notificationFilter = "
                 "_R.notificationFilter\n"
        << QStringList{"request.command in (0x1000,)", "resp.error", QString()}
        << QStringList{"project.consoleRequestFilter = QString request.command in (0x1000,)",
                       "project.consoleResponseFilter = QString resp.error",
                       "project.title = QString North district", "project.changed = bool true"}
        << QStringList{"request.command in (0x1000,)", "resp.error", "<missing>"};
    QTest::newRow("import fails") << "x = 1\n"
                                  << QStringList{}
                                  << QStringList{"project.title = QString North district",
                                                 "project.changed = bool true"}
                                  << QStringList{"<missing>", "<missing>", "<missing>"};
    // An object that looks like a sequence but has no length: PythonQt leaves
    // an error behind when it converts it, which must not reach the next read.
    QTest::newRow("attribute without a conversion")
        << plain
               + "class _Odd:\n    def __getitem__(self, i): return 1\n"
                 "av_module.requestFilter = _Odd()\n"
        << QStringList{QString(), "resp.error", "notify.id > 3"}
        << QStringList{"project.consoleRequestFilter = QString 0",
                       "project.consoleResponseFilter = QString resp.error",
                       "project.consoleNotificationFilter = QString notify.id > 3",
                       "project.title = QString North district", "project.changed = bool true"}
        << QStringList{"0", "resp.error", "notify.id > 3"};
}

void tst_ProjectPropertiesDlg::unreadFiltersStayUntouched()
{
    QFETCH(QString, script);
    QFETCH(QStringList, filters);
    QFETCH(QStringList, written);
    QFETCH(QStringList, inPython);

    PythonQtObjectPtr arvel = makeHostModule(filters, script);
    QVERIFY(PythonFixture::usable());
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);
    QVERIFY(PythonFixture::usable());
    press(dialog, QDialogButtonBox::Ok);
    QVERIFY(PythonFixture::usable());

    QCOMPARE(host.writes("project"), written);
    QCOMPARE(pythonFilters(arvel), inPython);
}

void tst_ProjectPropertiesDlg::writesServerAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("unchanged") << "//ctl.example:4000" << QStringList{};
    QTest::newRow("new host and port")
        << "//ctl2.example:4100"
        << QStringList{"connection.remoteHost = QString ctl2.example",
                       "connection.remotePort = int 4100"};
    QTest::newRow("without slashes") << "10.0.0.5:4000"
                                     << QStringList{"connection.remoteHost = QString 10.0.0.5",
                                                    "connection.remotePort = int 4000"};
    QTest::newRow("without port") << "//ctl.example"
                                  << QStringList{"connection.remoteHost = QString ctl.example",
                                                 "connection.remotePort = int -1"};
    QTest::newRow("port out of range") << "//ctl.example:99999" << QStringList{};
    QTest::newRow("no host") << "//:4000" << QStringList{};
    QTest::newRow("no address at all") << "no such host ::: [" << QStringList{};
    QTest::newRow("cleared") << "" << QStringList{};
}

void tst_ProjectPropertiesDlg::writesServerAddress()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, writes);

    makeHostModule({"0", "0", "0"});
    Host host;
    ProjectPropertiesDlg dialog(nullptr, &host.project);
    QCOMPARE(serverMark(dialog), QStringLiteral("plain"));
    part<QLineEdit>(dialog, "serverUrl")->setText(typed);
    // A changed text that writes nothing is dropped: the field says so.
    const bool dropped = writes.isEmpty() && typed != QLatin1String("//ctl.example:4000");
    QCOMPARE(serverMark(dialog), QLatin1String(dropped ? "marked" : "plain"));
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(host.writes("connection"), writes);
    QCOMPARE(host.project.changed(), QVariant(true));
}

QTEST_MAIN(tst_ProjectPropertiesDlg)
#include "tst_projectpropertiesdlg.moc"
