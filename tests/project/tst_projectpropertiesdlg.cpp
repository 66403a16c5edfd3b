#include "filterwidget.h"
#include "projectpropertiesdlg.h"

#include <PythonQt.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Stand-ins for the host's objects: the properties the dialog uses, and a log
// of every write in the order it arrived.
namespace Arvel {

class Connection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString remoteHost READ remoteHost WRITE setRemoteHost)
    Q_PROPERTY(int remotePort READ remotePort WRITE setRemotePort)

public:
    QString remoteHost() const { return m_host; }
    int remotePort() const { return m_port; }
    void setRemoteHost(const QString &host)
    {
        m_host = host;
        writes << QStringLiteral("remoteHost=") + host;
    }
    void setRemotePort(int port)
    {
        m_port = port;
        writes << QStringLiteral("remotePort=") + QString::number(port);
    }

    QString m_host = QStringLiteral("ctl.example");
    int m_port = 4000;
    QStringList writes;
};

class Project : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString fileName READ fileName)
    Q_PROPERTY(QString baseDir READ baseDir)
    Q_PROPERTY(QObject *connection READ connection)
    Q_PROPERTY(QString consoleRequestFilter READ requestFilter WRITE setRequestFilter)
    Q_PROPERTY(QString consoleResponseFilter READ responseFilter WRITE setResponseFilter)
    Q_PROPERTY(
        QString consoleNotificationFilter READ notificationFilter WRITE setNotificationFilter)
    Q_PROPERTY(bool changed READ changed WRITE setChanged)

public:
    explicit Project(QObject *connection)
        : m_connection(connection)
    {
    }

    QString title() const { return m_title; }
    QString fileName() const { return QStringLiteral("/projects/north/north.avp"); }
    QString baseDir() const { return QStringLiteral("/projects/north"); }
    QObject *connection() const { return m_connection; }
    QString requestFilter() const { return m_filters[0]; }
    QString responseFilter() const { return m_filters[1]; }
    QString notificationFilter() const { return m_filters[2]; }
    bool changed() const { return m_changed; }
    Q_INVOKABLE bool contains(int) const { return false; }

    void setTitle(const QString &title) { m_title = title, record("title", title); }
    void setRequestFilter(const QString &f) { setFilter(0, "consoleRequestFilter", f); }
    void setResponseFilter(const QString &f) { setFilter(1, "consoleResponseFilter", f); }
    void setNotificationFilter(const QString &f) { setFilter(2, "consoleNotificationFilter", f); }
    void setChanged(bool changed)
    {
        m_changed = changed, record("changed", changed ? "true" : "false");
    }

    QString m_title = QStringLiteral("North district");
    QObject *m_connection;
    QString m_filters[3];
    bool m_changed = false;
    QStringList writes;

private:
    void setFilter(int i, const char *name, const QString &filter)
    {
        m_filters[i] = filter;
        record(name, filter);
    }
    void record(const char *name, const QString &value)
    {
        writes << QLatin1String(name) + QLatin1Char('=') + value;
    }
};

} // namespace Arvel

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

// Python's error indicator is clear and the host's next evaluation works.
bool pythonUsable()
{
    PythonQt *python = PythonQt::self();
    const QVariant value =
        python->evalScript(python->getMainModule(), QStringLiteral("6 * 7"), Py_eval_input);
    const bool evaluated = !python->hadError() && value == QVariant(42);
    return !python->handleError() && evaluated;
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

template<typename T> T *part(QDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

void press(QDialog &dialog, QDialogButtonBox::StandardButton button)
{
    part<QDialogButtonBox>(dialog, "buttonBox")->button(button)->click();
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
    PythonQt::init();
    QVERIFY(PythonQt::self());
}

void tst_ProjectPropertiesDlg::cleanupTestCase()
{
    PythonQt::cleanup();
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
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);

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
    QVERIFY(project.writes.isEmpty());
}

void tst_ProjectPropertiesDlg::okRewritesFiltersTitleAndChanged()
{
    PythonQtObjectPtr arvel =
        makeHostModule({"request.command in (0x1000,0x1100,)", "", "notify.id  in  (0x1,)"});
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // An empty filter reads as a disabled tab and is stored as "0".
    const QStringList filters{"request.command in (0x1000,0x1100,)", "0", "notify.id in (0x1,)"};
    QCOMPARE(project.writes, QStringList({"consoleRequestFilter=" + filters[0],
                                          "consoleResponseFilter=" + filters[1],
                                          "consoleNotificationFilter=" + filters[2],
                                          "title=North district", "changed=true"}));
    QCOMPARE(pythonFilters(arvel), filters);
    QVERIFY(connection.writes.isEmpty());
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
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);
    const char *const edits[] = {"customFilterText", "customFilterText_2", "customFilterText_3"};
    part<QLineEdit>(dialog, edits[tab])->setText(typed);
    press(dialog, QDialogButtonBox::Ok);

    QStringList expected{"request.command > 0", "resp.request.command > 0", "notify.id > 0"};
    expected[tab] = typed;
    QCOMPARE(pythonFilters(arvel), expected);
    QCOMPARE(project.m_filters[tab], typed);
    QVERIFY(
        !arvel.evalScript(QStringLiteral("hasattr(av_module, 'hacked')"), Py_eval_input).toBool());
}

void tst_ProjectPropertiesDlg::cancelWritesNothing()
{
    const QStringList filters{"request.command in (0x1000,)", "resp.error", "notify.id > 3"};
    PythonQtObjectPtr arvel = makeHostModule(filters);
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);
    part<QLineEdit>(dialog, "name")->setText(QStringLiteral("South"));
    part<QLineEdit>(dialog, "serverUrl")->setText(QStringLiteral("//other:1"));
    part<QLineEdit>(dialog, "customFilterText_2")->setText(QStringLiteral("True"));
    press(dialog, QDialogButtonBox::Cancel);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(project.writes.isEmpty());
    QVERIFY(connection.writes.isEmpty());
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
    Arvel::Project project(nullptr);
    QTest::ignoreMessage(QtDebugMsg, "ProjectPropertiesDlg - invalid connection");
    ProjectPropertiesDlg dialog(nullptr, &project);

    QCOMPARE(part<QLineEdit>(dialog, "name")->text(), QStringLiteral("North district"));
    QVERIFY(part<QLineEdit>(dialog, "serverUrl")->text().isEmpty());
    for (const char *tab : {"tab", "tab_2", "tab_3"})
        QVERIFY(!part<QWidget>(dialog, tab)->isEnabled());

    part<QLineEdit>(dialog, "serverUrl")->setText(QStringLiteral("//other:1"));
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(project.writes, QStringList({"title=North district", "changed=true"}));
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
        << QStringList{"consoleRequestFilter=request.command in (0x1000,)",
                       "consoleNotificationFilter=0", "title=North district", "changed=true"}
        << QStringList{"request.command in (0x1000,)", "<missing>", "0"};
    QTest::newRow("attribute raises")
        << plain
               + "class _R:\n    @property\n    def notificationFilter(self): raise "
                 "RuntimeError('no console')\n_M.notificationFilter = "
                 "_R.notificationFilter\n"
        << QStringList{"request.command in (0x1000,)", "resp.error", QString()}
        << QStringList{"consoleRequestFilter=request.command in (0x1000,)",
                       "consoleResponseFilter=resp.error", "title=North district", "changed=true"}
        << QStringList{"request.command in (0x1000,)", "resp.error", "<missing>"};
    QTest::newRow("import fails") << "x = 1\n"
                                  << QStringList{}
                                  << QStringList{"title=North district", "changed=true"}
                                  << QStringList{"<missing>", "<missing>", "<missing>"};
    // An object that looks like a sequence but has no length: PythonQt leaves
    // an error behind when it converts it, which must not reach the next read.
    QTest::newRow("attribute without a conversion")
        << plain
               + "class _Odd:\n    def __getitem__(self, i): return 1\n"
                 "av_module.requestFilter = _Odd()\n"
        << QStringList{QString(), "resp.error", "notify.id > 3"}
        << QStringList{"consoleRequestFilter=0", "consoleResponseFilter=resp.error",
                       "consoleNotificationFilter=notify.id > 3", "title=North district",
                       "changed=true"}
        << QStringList{"0", "resp.error", "notify.id > 3"};
}

void tst_ProjectPropertiesDlg::unreadFiltersStayUntouched()
{
    QFETCH(QString, script);
    QFETCH(QStringList, filters);
    QFETCH(QStringList, written);
    QFETCH(QStringList, inPython);

    PythonQtObjectPtr arvel = makeHostModule(filters, script);
    QVERIFY(pythonUsable());
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);
    QVERIFY(pythonUsable());
    press(dialog, QDialogButtonBox::Ok);
    QVERIFY(pythonUsable());

    QCOMPARE(project.writes, written);
    QCOMPARE(pythonFilters(arvel), inPython);
}

void tst_ProjectPropertiesDlg::writesServerAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("unchanged") << "//ctl.example:4000" << QStringList{};
    QTest::newRow("new host and port")
        << "//ctl2.example:4100" << QStringList{"remoteHost=ctl2.example", "remotePort=4100"};
    QTest::newRow("without slashes")
        << "10.0.0.5:4000" << QStringList{"remoteHost=10.0.0.5", "remotePort=4000"};
    QTest::newRow("without port") << "//ctl.example"
                                  << QStringList{"remoteHost=ctl.example", "remotePort=-1"};
    QTest::newRow("port out of range") << "//ctl.example:99999" << QStringList{};
    QTest::newRow("no host") << "//:4000" << QStringList{};
    QTest::newRow("cleared") << "" << QStringList{};
}

void tst_ProjectPropertiesDlg::writesServerAddress()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, writes);

    makeHostModule({"0", "0", "0"});
    Arvel::Connection connection;
    Arvel::Project project(&connection);
    ProjectPropertiesDlg dialog(nullptr, &project);
    part<QLineEdit>(dialog, "serverUrl")->setText(typed);
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(connection.writes, writes);
    QCOMPARE(project.m_changed, true);
}

QTEST_MAIN(tst_ProjectPropertiesDlg)
#include "tst_projectpropertiesdlg.moc"
