#include "commandsui.h"
#include "filterwidget.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {

// A panel with an empty grid, as the forms have it.
struct Panel
{
    Panel()
        : grid(new QGridLayout(&frame))
    {
    }
    QFrame frame;
    QGridLayout *grid;

    QCheckBox *box(int i) const { return qobject_cast<QCheckBox *>(grid->itemAt(i)->widget()); }

    QList<int> checkedIndexes() const
    {
        QList<int> indexes;
        for (int i = 0; i < grid->count(); ++i) {
            if (box(i)->isChecked())
                indexes << i;
        }
        return indexes;
    }

    void check(const QList<int> &indexes)
    {
        for (int i = 0; i < grid->count(); ++i)
            box(i)->setChecked(indexes.contains(i));
    }
};

} // namespace

Q_DECLARE_METATYPE(CommandsUi::CheckMode)

class tst_CommandsUi : public QObject
{
    Q_OBJECT

private slots:
    void placesRowsColumnByColumn_data();
    void placesRowsColumnByColumn();
    void boxesCarryNameAndDescription();
    void fillingTwiceAddsNothing();

    void listsCheckedCodes_data();
    void listsCheckedCodes();

    void convertsMasks_data();
    void convertsMasks();

    void setsAllChecks_data();
    void setsAllChecks();
    void leavesDisabledPanelAlone_data();
    void leavesDisabledPanelAlone();

    void walkStopsAtForeignItem();
    void masksStopAtEndOfList();

    void checksWhatIsSelected_data();
    void checksWhatIsSelected();

    void metaObjectCastYieldsCommandsUi();
};

void tst_CommandsUi::placesRowsColumnByColumn_data()
{
    QTest::addColumn<bool>("notifications");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");

    QTest::newRow("first request") << false << 0 << 0 << 0 << "SET_LOCAL";
    QTest::newRow("end of request column 0") << false << 11 << 11 << 0 << "SET_EVENT";
    QTest::newRow("start of request column 1") << false << 12 << 0 << 1 << "SET_TOUT";
    QTest::newRow("DAT_TRANSF before GET_STAT") << false << 21 << 9 << 1 << "DAT_TRANSF";
    QTest::newRow("end of request column 1") << false << 23 << 11 << 1 << "GET_REFER";
    QTest::newRow("start of request column 2") << false << 24 << 0 << 2 << "GET_GROUP";
    QTest::newRow("end of request column 2") << false << 35 << 11 << 2 << "GET_QUERY";
    QTest::newRow("start of request column 3") << false << 36 << 0 << 3 << "GET_PASSDB";
    QTest::newRow("last request") << false << 39 << 3 << 3 << "DAT_SERV";
    QTest::newRow("first notification") << true << 0 << 0 << 0 << "Включение";
    QTest::newRow("end of notification column 0")
        << true << 11 << 11 << 0 << "Попытка восстановления";
    QTest::newRow("start of notification column 1")
        << true << 12 << 0 << 1 << "Сообщение от устройства";
    QTest::newRow("last notification") << true << 15 << 3 << 1 << "Данные о транспортном потоке";
}

void tst_CommandsUi::placesRowsColumnByColumn()
{
    QFETCH(bool, notifications);
    QFETCH(int, index);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, name);

    CommandsUi ui;
    Panel panel;
    const QList<CommandDesc> &list = notifications ? ui.notifications() : ui.commands();
    ui.fillGrid(list, panel.grid);

    QCOMPARE(panel.grid->count(), list.size());
    QCOMPARE(panel.grid->columnCount(), notifications ? 2 : 4);
    QLayoutItem *item = panel.grid->itemAtPosition(row, column);
    QVERIFY(item);
    QCOMPARE(item, panel.grid->itemAt(index));
    auto *box = qobject_cast<QCheckBox *>(item->widget());
    QVERIFY(box);
    QCOMPARE(box->text(), name);
    QCOMPARE(box->parentWidget(), &panel.frame);
    QVERIFY(!box->isChecked());
}

void tst_CommandsUi::boxesCarryNameAndDescription()
{
    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.notifications(), panel.grid);
    for (int i = 0; i < ui.notifications().size(); ++i) {
        QCOMPARE(panel.box(i)->text(), ui.notifications().at(i).name);
        // Rich text, which Qt wraps, in the description's words.
        const QString tip = panel.box(i)->toolTip();
        QCOMPARE(QTextDocumentFragment::fromHtml(tip).toPlainText(),
                 ui.notifications().at(i).description);
        QCOMPARE(Qt::mightBeRichText(tip), !tip.isEmpty());
    }
    QVERIFY(panel.box(11)->toolTip().isEmpty());
}

void tst_CommandsUi::fillingTwiceAddsNothing()
{
    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.commands(), panel.grid);
    ui.fillGrid(ui.commands(), panel.grid);
    QCOMPARE(panel.grid->count(), 40);
    QCOMPARE(panel.frame.findChildren<QCheckBox *>().size(), 40);
}

void tst_CommandsUi::listsCheckedCodes_data()
{
    QTest::addColumn<bool>("notifications");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<QString>("codes");

    QTest::newRow("none") << false << QList<int>{} << "";
    QTest::newRow("SET_LOCAL and GET_TDET") << false << QList<int>{0, 27} << "0x1000,0x1105,";
    QTest::newRow("SET_TDTIME") << false << QList<int>{16} << "0x10001010,";
    QTest::newRow("list order, not code order")
        << false << QList<int>{21, 22, 39} << "0x1301,0x1100,0x1300,";
    QTest::newRow("first notification") << true << QList<int>{0} << "0x0,";
    QTest::newRow("last notifications") << true << QList<int>{10, 15} << "0xa,0xf,";
}

void tst_CommandsUi::listsCheckedCodes()
{
    QFETCH(bool, notifications);
    QFETCH(QList<int>, checked);
    QFETCH(QString, codes);

    CommandsUi ui;
    Panel panel;
    const QList<CommandDesc> &list = notifications ? ui.notifications() : ui.commands();
    ui.fillGrid(list, panel.grid);
    panel.check(checked);
    QCOMPARE(ui.checkedCodes(list, panel.grid), codes);
}

void tst_CommandsUi::convertsMasks_data()
{
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<quint32>("result");

    QTest::newRow("empty") << 0u << QList<int>{} << 0u;
    QTest::newRow("Включение and Группа") << 0x21u << QList<int>{0, 5} << 0x21u;
    QTest::newRow("high bits dropped") << 0x10021u << QList<int>{0, 5} << 0x21u;
    QTest::newRow("all bits") << 0xffffffffu
                              << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}
                              << 0xffffu;
    QTest::newRow("last bit") << 0x8000u << QList<int>{15} << 0x8000u;
}

void tst_CommandsUi::convertsMasks()
{
    QFETCH(quint32, mask);
    QFETCH(QList<int>, checked);
    QFETCH(quint32, result);

    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.notifications(), panel.grid);
    panel.check({1, 2, 3}); // states from before must not survive
    ui.setChecksFromMask(panel.grid, mask);
    QCOMPARE(panel.checkedIndexes(), checked);
    QCOMPARE(ui.maskFromChecks(panel.grid), result);
}

void tst_CommandsUi::setsAllChecks_data()
{
    QTest::addColumn<CommandsUi::CheckMode>("mode");
    QTest::addColumn<QList<int>>("checked");

    QTest::newRow("clear") << CommandsUi::CheckMode::Clear << QList<int>{};
    QTest::newRow("select") << CommandsUi::CheckMode::Select
                            << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    QTest::newRow("invert") << CommandsUi::CheckMode::Invert
                            << QList<int>{0, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14};
}

void tst_CommandsUi::setsAllChecks()
{
    QFETCH(CommandsUi::CheckMode, mode);
    QFETCH(QList<int>, checked);

    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.notifications(), panel.grid);
    const QList<int> before{1, 5, 15};
    panel.check(before);
    ui.setAllChecks(&panel.frame, mode);
    QCOMPARE(panel.checkedIndexes(), checked);
    if (mode == CommandsUi::CheckMode::Invert) {
        ui.setAllChecks(&panel.frame, mode);
        QCOMPARE(panel.checkedIndexes(), before);
    }
}

void tst_CommandsUi::leavesDisabledPanelAlone_data()
{
    QTest::addColumn<bool>("disableParent");
    QTest::newRow("panel disabled") << false;
    QTest::newRow("panel on a disabled page") << true;
}

void tst_CommandsUi::leavesDisabledPanelAlone()
{
    QFETCH(bool, disableParent);

    CommandsUi ui;
    QWidget page;
    auto *panel = new QFrame(&page);
    auto *grid = new QGridLayout(panel);
    ui.fillGrid(ui.commands(), grid);
    qobject_cast<QCheckBox *>(grid->itemAt(3)->widget())->setChecked(true);
    (disableParent ? &page : static_cast<QWidget *>(panel))->setEnabled(false);

    ui.setAllChecks(panel, CommandsUi::CheckMode::Select);
    ui.setAllChecks(panel, CommandsUi::CheckMode::Invert);
    ui.setAllChecks(panel, CommandsUi::CheckMode::Clear);
    QCOMPARE(ui.checkedCodes(ui.commands(), grid), QStringLiteral("0x1003,"));
    ui.setAllChecks(nullptr, CommandsUi::CheckMode::Select);
}

void tst_CommandsUi::walkStopsAtForeignItem()
{
    CommandsUi ui;
    Panel panel;
    // Boxes pair with rows by position only: whatever follows a foreign item
    // can no longer be paired and is left out.
    for (int i = 0; i < 3; ++i)
        panel.grid->addWidget(new QCheckBox(&panel.frame), i, 0);
    panel.grid->addWidget(new QLabel(&panel.frame), 3, 0);
    panel.grid->addWidget(new QCheckBox(&panel.frame), 4, 0);
    for (int i = 0; i < 5; ++i) {
        if (auto *box = qobject_cast<QCheckBox *>(panel.grid->itemAt(i)->widget()))
            box->setChecked(true);
    }
    QCOMPARE(ui.checkedCodes(ui.notifications(), panel.grid), QStringLiteral("0x0,0x1,0x2,"));
    QCOMPARE(ui.maskFromChecks(panel.grid), 0x7u);
    ui.setAllChecks(&panel.frame, CommandsUi::CheckMode::Clear);
    QVERIFY(qobject_cast<QCheckBox *>(panel.grid->itemAt(4)->widget())->isChecked());
}

// The mask operations always pair boxes with the notifications; a grid with
// more boxes than that list has must not be read past the list's end.
void tst_CommandsUi::masksStopAtEndOfList()
{
    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.commands(), panel.grid);
    panel.check({0, 15, 16, 39});
    QCOMPARE(ui.maskFromChecks(panel.grid), 0x8001u);
    ui.setChecksFromMask(panel.grid, 0xffffffffu);
    // The first 16 boxes follow the mask; the others keep their states.
    const QList<int> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 39};
    QCOMPARE(panel.checkedIndexes(), expected);
}

void tst_CommandsUi::checksWhatIsSelected_data()
{
    QTest::addColumn<bool>("withPredicate");
    QTest::addColumn<QList<int>>("checked");

    QTest::newRow("selected codes") << true << QList<int>{1, 5, 14};
    QTest::newRow("no predicate: none") << false << QList<int>{};
}

void tst_CommandsUi::checksWhatIsSelected()
{
    QFETCH(bool, withPredicate);
    QFETCH(QList<int>, checked);

    CommandsUi ui;
    Panel panel;
    ui.fillGrid(ui.notifications(), panel.grid);
    panel.check({0, 2, 12}); // states from before must not survive
    QList<int> asked;
    std::function<bool(int)> isSelected;
    if (withPredicate) {
        isSelected = [&asked, &checked](int code) {
            asked << code;
            return checked.contains(code);
        };
    }
    ui.setChecks(ui.notifications(), panel.grid, isSelected);
    QCOMPARE(panel.checkedIndexes(), checked);
    // Once per box, in list order (notification codes are their indexes).
    QCOMPARE(asked.size(), withPredicate ? 16 : 0);
    for (int i = 0; i < asked.size(); ++i)
        QCOMPARE(asked.at(i), i);
}

void tst_CommandsUi::metaObjectCastYieldsCommandsUi()
{
    FilterWidget widget;
    void *cast = widget.qt_metacast("CommandsUi");
    QVERIFY(cast);
    QCOMPARE(cast, static_cast<void *>(static_cast<CommandsUi *>(&widget)));
    QCOMPARE(static_cast<CommandsUi *>(cast)->commands().size(), 40);
    QCOMPARE(static_cast<CommandsUi *>(cast)->notifications().size(), 16);
}

QTEST_MAIN(tst_CommandsUi)
#include "tst_commandsui.moc"
