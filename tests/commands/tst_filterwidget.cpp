#include "commandtables.h"
#include "filterwidget.h"
#include "formparts.h"
#include "pythonfixture.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

const char *const pages[] = {"tab", "tab_2", "tab_3"};
const char *const panels[] = {"frame", "frame_2", "frame_3"};
const char *const grids[] = {"gridLayout", "gridLayout_2", "gridLayout_3"};
const char *const customBoxes[] = {"customFilter", "customFilter_2", "customFilter_3"};
const char *const customTexts[] = {"customFilterText", "customFilterText_2", "customFilterText_3"};

// The widget's parts, reached by their object names as the host's forms do.
struct Parts
{
    explicit Parts(FilterWidget &w)
        : widget(w)
    {
    }
    FilterWidget &widget;

    QWidget *page(int tab) const { return part<QWidget>(widget, pages[tab]); }
    QFrame *panel(int tab) const { return part<QFrame>(widget, panels[tab]); }
    QGridLayout *grid(int tab) const { return part<QGridLayout>(widget, grids[tab]); }
    QCheckBox *custom(int tab) const { return part<QCheckBox>(widget, customBoxes[tab]); }
    QLineEdit *text(int tab) const { return part<QLineEdit>(widget, customTexts[tab]); }

    QCheckBox *box(int tab, const QString &name) const { return boxWithText(panel(tab), name); }
    QStringList checkedNames(int tab) const { return checkedTexts(grid(tab)); }

    QStringList filters() const
    {
        return {widget.requestFilter(), widget.responseFilter(), widget.notificationFilter()};
    }
};

QStringList requestNamesExcept(const QString &left)
{
    QStringList names;
    for (const CommandDesc &row : CommandTables::requests()) {
        if (row.name != left)
            names << row.name;
    }
    return names;
}

QStringList notificationNames(const QList<int> &ids)
{
    QStringList names;
    for (const int id : ids)
        names << CommandTables::notifications().at(id).name;
    return names;
}

// One expression on one tab, nothing on the others.
QStringList onTab(int tab, const QString &expression)
{
    QStringList expressions{QString(), QString(), QString()};
    expressions[tab] = expression;
    return expressions;
}

void setFilters(FilterWidget &widget, const QStringList &e)
{
    widget.setFilters(e.at(0), e.at(1), e.at(2));
}

} // namespace

class tst_FilterWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void formHasNamedParts_data();
    void formHasNamedParts();
    void startsWithNothingFilters();
    void customBoxesDriveTheirTabs();

    void readsFilter_data();
    void readsFilter();
    void rebuildsWhatItRead_data();
    void rebuildsWhatItRead();
    void emptyFiltersDisableTabs();

    void buildsFromBoxes_data();
    void buildsFromBoxes();
    void buildsCustomTextAsTyped_data();
    void buildsCustomTextAsTyped();
    void leavingCustomModeBuildsFromBoxes();

    void buttonsActOnCurrentTab_data();
    void buttonsActOnCurrentTab();
    void buttonsIgnoreCustomOrDisabledTab_data();
    void buttonsIgnoreCustomOrDisabledTab();
};

void tst_FilterWidget::initTestCase()
{
    QVERIFY(PythonFixture::start());
}

void tst_FilterWidget::cleanupTestCase()
{
    PythonFixture::stop();
}

void tst_FilterWidget::formHasNamedParts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    const QStringList names{"tabWidget",
                            "tab",
                            "tab_2",
                            "tab_3",
                            "verticalLayout",
                            "verticalLayout_2",
                            "verticalLayout_3",
                            "verticalLayout_4",
                            "frame",
                            "frame_2",
                            "frame_3",
                            "gridLayout",
                            "gridLayout_2",
                            "gridLayout_3",
                            "horizontalLayout_2",
                            "horizontalLayout_5",
                            "horizontalLayout_6",
                            "horizontalLayout_7",
                            "customFilter",
                            "customFilter_2",
                            "customFilter_3",
                            "customFilterText",
                            "customFilterText_2",
                            "customFilterText_3",
                            "clearAll",
                            "selectAll",
                            "invertAll"};
    const QStringList classes{
        "QTabWidget",  "QWidget",     "QWidget",     "QWidget",     "QVBoxLayout", "QVBoxLayout",
        "QVBoxLayout", "QVBoxLayout", "QFrame",      "QFrame",      "QFrame",      "QGridLayout",
        "QGridLayout", "QGridLayout", "QHBoxLayout", "QHBoxLayout", "QHBoxLayout", "QHBoxLayout",
        "QCheckBox",   "QCheckBox",   "QCheckBox",   "QLineEdit",   "QLineEdit",   "QLineEdit",
        "QPushButton", "QPushButton", "QPushButton"};
    for (int i = 0; i < names.size(); ++i)
        QTest::newRow(qPrintable(names.at(i))) << names.at(i) << classes.at(i);
}

void tst_FilterWidget::formHasNamedParts()
{
    QFETCH(QString, name);
    QFETCH(QString, className);

    FilterWidget widget;
    QCOMPARE(widget.objectName(), QStringLiteral("FilterWidget"));
    QObject *part = widget.findChild<QObject *>(name);
    QVERIFY(part);
    QCOMPARE(QString::fromLatin1(part->metaObject()->className()), className);
}

void tst_FilterWidget::startsWithNothingFilters()
{
    FilterWidget widget;
    Parts parts(widget);
    QCOMPARE(parts.filters(), QStringList({"0", "0", "0"}));
    QCOMPARE(part<QTabWidget>(widget, "tabWidget")->currentIndex(), 0);
    QCOMPARE(part<QPushButton>(widget, "clearAll")->text(), QStringLiteral("Clear all"));
    QCOMPARE(part<QPushButton>(widget, "selectAll")->text(), QStringLiteral("Select All"));
    QCOMPARE(part<QPushButton>(widget, "invertAll")->text(), QStringLiteral("Invert All"));
    for (int tab = 0; tab < 3; ++tab) {
        QCOMPARE(parts.grid(tab)->count(), 0);
        QVERIFY(!parts.custom(tab)->isChecked());
        QVERIFY(parts.text(tab)->isEnabled());
        QVERIFY(parts.panel(tab)->isEnabled());
    }
}

void tst_FilterWidget::customBoxesDriveTheirTabs()
{
    FilterWidget widget;
    Parts parts(widget);
    widget.show();
    QVERIFY(QTest::qWaitForWindowActive(&widget));

    // Requests and notifications: the box enables the line edit and greys the
    // panel, and unchecking it does the opposite.
    for (int tab : {0, 2}) {
        part<QTabWidget>(widget, "tabWidget")->setCurrentIndex(tab);
        QTest::mouseClick(parts.custom(tab), Qt::LeftButton);
        QVERIFY(parts.text(tab)->isEnabled());
        QVERIFY(!parts.panel(tab)->isEnabled());
        QTest::mouseClick(parts.custom(tab), Qt::LeftButton);
        QVERIFY(!parts.text(tab)->isEnabled());
        QVERIFY(parts.panel(tab)->isEnabled());
    }

    // Answers: the line edit keeps its state and takes the focus.
    part<QTabWidget>(widget, "tabWidget")->setCurrentIndex(1);
    QTest::mouseClick(parts.custom(1), Qt::LeftButton);
    QVERIFY(!parts.panel(1)->isEnabled());
    QVERIFY(parts.text(1)->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(parts.text(1)));
    part<QPushButton>(widget, "clearAll")->setFocus();
    QTest::mouseClick(parts.custom(1), Qt::LeftButton);
    QVERIFY(parts.panel(1)->isEnabled());
    QVERIFY(parts.text(1)->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(parts.text(1)));
}

void tst_FilterWidget::readsFilter_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("checked");

    const QString both = QStringLiteral("request.command in (0x1000,0x1100,)");
    QTest::newRow("requests as boxes")
        << 0 << both << false << both << QStringList{"SET_LOCAL", "GET_STAT"};
    QTest::newRow("requests with extra spaces")
        << 0 << "   request.command  in  (0x1000,0x1100,)  " << false << both
        << QStringList{"SET_LOCAL", "GET_STAT"};
    QTest::newRow("code without a box")
        << 0 << "request.command in (0x1000,0x9999,)" << false
        << "request.command in (0x1000,0x9999,)" << QStringList{"SET_LOCAL"};
    QTest::newRow("long code read in decimal")
        << 0 << "request.command in (0x10001010,)" << false << "request.command in (0x10001010,)"
        << QStringList{"SET_TDTIME"};
    QTest::newRow("greedy over two tuples")
        << 0 << "request.command in (0x1000,) or request.command in (0x1100,)" << false
        << "request.command in (0x1000,) or request.command in (0x1100,)"
        << QStringList{"SET_LOCAL", "GET_STAT"};
    QTest::newRow("requests custom")
        << 0 << "request.command != 0x1107" << true << "request.command != 0x1107"
        << requestNamesExcept(QStringLiteral("GET_JRNL"));
    QTest::newRow("answers as boxes")
        << 1 << "resp.request.command in (0x1101,0x1300,)" << false
        << "resp.request.command in (0x1101,0x1300,)" << QStringList{"GET_REFER", "DAT_SERV"};
    QTest::newRow("answers custom with error test")
        << 1 << "resp.request.command in (0x1101,) or resp.error" << true
        << "resp.request.command in (0x1101,) or resp.error" << QStringList{"GET_REFER"};
    // Only the replacement of the error test by False makes this true for a box.
    QTest::newRow("answers on no error")
        << 1 << "resp.request.command in (0x1101,) or not resp.error" << true
        << "resp.request.command in (0x1101,) or not resp.error" << requestNamesExcept(QString());
    QTest::newRow("notifications as boxes")
        << 2 << "notify.id in (0x1,0x5,)" << false << "notify.id in (0x1,0x5,)"
        << QStringList{"Авария", "Группа"};
    QTest::newRow("nothing on requests") << 0 << "0" << true << "0" << QStringList{};
    QTest::newRow("nothing on answers") << 1 << "0" << true << "0" << QStringList{};
    QTest::newRow("nothing on notifications") << 2 << "0" << true << "0" << QStringList{};
    // Would check every box if it were evaluated.
    QTest::newRow("true without subject") << 0 << "True" << true << "True" << QStringList{};
    QTest::newRow("faulty expression")
        << 2 << "notify.id in (" << true << "notify.id in (" << QStringList{};
    // Evaluated box by box: a box whose test fails counts as unchecked, and
    // the others are still evaluated.
    QTest::newRow("comparison") << 2 << "notify.id >= 14" << true << "notify.id >= 14"
                                << notificationNames({14, 15});
    QTest::newRow("error in one box")
        << 2 << "1 / (notify.id - 3) > 0" << true << "1 / (notify.id - 3) > 0"
        << notificationNames({4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    QTest::newRow("non-boolean result")
        << 2 << "notify.id % 2 and 'odd'" << true << "notify.id % 2 and 'odd'"
        << notificationNames({1, 3, 5, 7, 9, 11, 13, 15});
    // Box 3 yields an object that looks like a sequence but has no length:
    // PythonQt fails to convert it and must not spoil box 4.
    const QString odd = QStringLiteral(
        "notify.id == 3 and type('Odd', (), {'__getitem__': lambda s, i: 1})() or notify.id == 4");
    QTest::newRow("result without a conversion")
        << 2 << odd << true << odd << notificationNames({4});
}

void tst_FilterWidget::readsFilter()
{
    QFETCH(int, tab);
    QFETCH(QString, expression);
    QFETCH(bool, custom);
    QFETCH(QString, shown);
    QFETCH(QStringList, checked);

    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, onTab(tab, expression));

    QCOMPARE(parts.filters(), onTab(tab, expression));
    QVERIFY(parts.page(tab)->isEnabled());
    QCOMPARE(parts.grid(tab)->count(), tab == 2 ? 16 : 40);
    QCOMPARE(parts.custom(tab)->isChecked(), custom);
    QCOMPARE(parts.panel(tab)->isEnabled(), !custom);
    QVERIFY(parts.text(tab)->isEnabled());
    QCOMPARE(parts.text(tab)->text(), shown);
    QCOMPARE(parts.checkedNames(tab), checked);
    // Nothing is left pending for the host's next Python call.
    QVERIFY(PythonFixture::usable());
}

// What the next OK stores after reading, with no edit in between.
void tst_FilterWidget::rebuildsWhatItRead_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("rebuilt");

    QTest::newRow("code without a box dropped") << 0 << "request.command in (0x1000,0x9999,)"
                                                << "request.command in (0x1000,)";
    QTest::newRow("greedy over two tuples joined")
        << 0 << "request.command in (0x1000,) or request.command in (0x1100,)"
        << "request.command in (0x1000,0x1100,)";
    QTest::newRow("spaces dropped") << 2 << "  notify.id  in (0x1,0x5,) "
                                    << "notify.id in (0x1,0x5,)";
    QTest::newRow("nothing stays nothing") << 1 << "0"
                                           << "0";
    QTest::newRow("custom text kept as shown")
        << 1 << "resp.request.command in (0x1101,) or resp.error"
        << "resp.request.command in (0x1101,) or resp.error";
    QTest::newRow("recognised form with unknown codes") << 0 << "request.command in (0x9999,)"
                                                        << "0";
}

void tst_FilterWidget::rebuildsWhatItRead()
{
    QFETCH(int, tab);
    QFETCH(QString, expression);
    QFETCH(QString, rebuilt);

    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, onTab(tab, expression));
    widget.buildFilters();

    QStringList expected{"0", "0", "0"};
    expected[tab] = rebuilt;
    QCOMPARE(parts.filters(), expected);
}

void tst_FilterWidget::emptyFiltersDisableTabs()
{
    FilterWidget widget;
    Parts parts(widget);
    widget.setFilters(QString(), QString(), QString());
    for (int tab = 0; tab < 3; ++tab) {
        QVERIFY(!parts.page(tab)->isEnabled());
        QCOMPARE(parts.grid(tab)->count(), 0);
    }
    widget.buildFilters();
    QCOMPARE(parts.filters(), QStringList({"0", "0", "0"}));
}

void tst_FilterWidget::buildsFromBoxes_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QString>("filter");

    QTest::newRow("SET_LOCAL and GET_STAT")
        << 0 << QStringList{"SET_LOCAL", "GET_STAT"} << "request.command in (0x1000,0x1100,)";
    QTest::newRow("SET_VERB") << 0 << QStringList{"SET_VERB"} << "request.command in (0x100a,)";
    QTest::newRow("SET_TDTIME") << 0 << QStringList{"SET_TDTIME"}
                                << "request.command in (0x10001010,)";
    QTest::newRow("GET_REFER and DAT_SERV")
        << 1 << QStringList{"GET_REFER", "DAT_SERV"} << "resp.request.command in (0x1101,0x1300,)";
    QTest::newRow("no answer") << 1 << QStringList{} << "0";
    QTest::newRow("three notifications")
        << 2 << QStringList{"Включение", "Авария", "Фаза"} << "notify.id in (0x0,0x1,0x4,)";
    QTest::newRow("first notification") << 2 << QStringList{"Включение"} << "notify.id in (0x0,)";
}

void tst_FilterWidget::buildsFromBoxes()
{
    QFETCH(int, tab);
    QFETCH(QStringList, checked);
    QFETCH(QString, filter);

    const QStringList read{"request.command in (0x1005,)", "resp.request.command in (0x1005,)",
                           "notify.id in (0x5,)"};
    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, read);
    parts.box(tab, tab == 2 ? QStringLiteral("Группа") : QStringLiteral("SET_OS"))
        ->setChecked(false);
    for (const QString &name : checked) {
        QVERIFY2(parts.box(tab, name), qPrintable(name));
        parts.box(tab, name)->setChecked(true);
    }
    widget.buildFilters();

    QStringList expected = read;
    expected[tab] = filter;
    QCOMPARE(parts.filters(), expected);
}

void tst_FilterWidget::buildsCustomTextAsTyped_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("typed");

    QTest::newRow("call without arguments") << 0 << "is_interesting()";
    QTest::newRow("spaces kept") << 1 << "  resp.error  or  resp.request.command == 4096 ";
    QTest::newRow("empty parentheses in a tuple test") << 2 << "notify.id in ()";
    QTest::newRow("quotes and backslash") << 0 << "request.name == 'a\\\"b'";
}

void tst_FilterWidget::buildsCustomTextAsTyped()
{
    QFETCH(int, tab);
    QFETCH(QString, typed);

    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, {"request.command > 0", "resp.request.command > 0", "notify.id > 0"});
    QVERIFY(parts.custom(tab)->isChecked());
    parts.text(tab)->clear();
    QTest::keyClicks(parts.text(tab), typed);
    widget.buildFilters();

    QStringList expected{"request.command > 0", "resp.request.command > 0", "notify.id > 0"};
    expected[tab] = typed;
    QCOMPARE(parts.filters(), expected);
}

void tst_FilterWidget::leavingCustomModeBuildsFromBoxes()
{
    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, onTab(2, "notify.id >= 14"));
    QVERIFY(parts.custom(2)->isChecked());
    parts.custom(2)->click();
    QVERIFY(parts.panel(2)->isEnabled());
    widget.buildFilters();
    // The boxes keep the states the custom filter gave them.
    QCOMPARE(parts.filters(), QStringList({"0", "0", "notify.id in (0xe,0xf,)"}));
}

void tst_FilterWidget::buttonsActOnCurrentTab_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("checked");

    QStringList allNotifications;
    for (const CommandDesc &row : CommandTables::notifications())
        allNotifications << row.name;
    QStringList inverted = allNotifications;
    inverted.removeOne(QStringLiteral("Авария"));

    QTest::newRow("select all requests") << "selectAll" << 0 << requestNamesExcept(QString());
    QTest::newRow("clear all answers") << "clearAll" << 1 << QStringList{};
    QTest::newRow("select all notifications") << "selectAll" << 2 << allNotifications;
    QTest::newRow("invert notifications") << "invertAll" << 2 << inverted;
}

void tst_FilterWidget::buttonsActOnCurrentTab()
{
    QFETCH(QString, button);
    QFETCH(int, tab);
    QFETCH(QStringList, checked);

    const QStringList read{"request.command in (0x1000,)", "resp.request.command in (0x1000,)",
                           "notify.id in (0x1,)"};
    FilterWidget widget;
    Parts parts(widget);
    setFilters(widget, read);
    part<QTabWidget>(widget, "tabWidget")->setCurrentIndex(tab);
    press(widget, qPrintable(button));

    QCOMPARE(parts.checkedNames(tab), checked);
    for (int other = 0; other < 3; ++other) {
        if (other != tab)
            QCOMPARE(parts.checkedNames(other).size(), 1);
    }
}

void tst_FilterWidget::buttonsIgnoreCustomOrDisabledTab_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");

    for (const char *button : {"clearAll", "selectAll", "invertAll"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 on custom tab").arg(button))) << button << 1;
        QTest::newRow(qPrintable(QStringLiteral("%1 on disabled tab").arg(button))) << button << 2;
    }
}

void tst_FilterWidget::buttonsIgnoreCustomOrDisabledTab()
{
    QFETCH(QString, button);
    QFETCH(int, tab);

    FilterWidget widget;
    Parts parts(widget);
    widget.setFilters("request.command in (0x1000,)", "resp.request.command == 0x1101", QString());
    part<QTabWidget>(widget, "tabWidget")->setCurrentIndex(tab);
    press(widget, qPrintable(button));

    QCOMPARE(parts.checkedNames(0), QStringList{"SET_LOCAL"});
    QCOMPARE(parts.checkedNames(1), QStringList{"GET_REFER"});
    QCOMPARE(parts.grid(2)->count(), 0);
}

QTEST_MAIN(tst_FilterWidget)
#include "tst_filterwidget.moc"
