#include "custompropseditdlg.h"
#include "formparts.h"
#include "inputmarks.h"
#include "modaldriver.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QPointF>
#include <QTableWidget>
#include <QtTest>

namespace {

QTableWidget *tableOf(const CustomPropsEditDlg &dialog)
{
    return part<QTableWidget>(dialog, "propsTable");
}

QString describe(const QVariant &value)
{
    QStringList parts;
    if (value.userType() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            parts << it.key() + QLatin1Char(':') + it.value().toString();
    } else if (value.canConvert<QVariantList>() && value.userType() != QMetaType::QString) {
        for (const QVariant &element : value.toList())
            parts << element.toString();
    } else {
        parts << value.toString();
    }
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(value.typeName()),
                                       parts.join(QLatin1Char(',')));
}

// "name=<type> value|<type> description" per entry, in key order; an entry
// that is no list as "name=no list: <type> <text>".
QStringList describe(const QVariantMap &map)
{
    QStringList entries;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().userType() != QMetaType::QVariantList) {
            entries << it.key() + QLatin1String("=no list: ") + describe(it.value());
            continue;
        }
        const QVariantList entry = it.value().toList();
        QStringList elements;
        for (const QVariant &element : entry)
            elements << describe(element);
        entries << it.key() + QLatin1Char('=') + elements.join(QLatin1Char('|'));
    }
    return entries;
}

// Opens the table's context menu and, once it shows, notes its actions as
// "text (shortcut)" and triggers the one named `choice`, if any.
QStringList useContextMenu(QTableWidget *table, const QString &choice)
{
    QStringList seen;
    const ModalDriver driver([&seen, choice](QWidget *popup) {
        auto *menu = qobject_cast<QMenu *>(popup);
        if (!menu)
            return;
        const QList<QAction *> actions = menu->actions();
        QAction *chosen = nullptr;
        for (QAction *action : actions) {
            seen << QStringLiteral("%1 (%2)").arg(action->text(), action->shortcut().toString());
            if (action->text() == choice)
                chosen = action;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    emit table->customContextMenuRequested(QPoint(5, 5));
    return seen;
}

const QVariantMap fourRows{
    {QStringLiteral("a"), QVariantList{QStringLiteral("1"), QStringLiteral("one")}},
    {QStringLiteral("b"), QVariantList{QStringLiteral("2"), QStringLiteral("two")}},
    {QStringLiteral("c"), QVariantList{QStringLiteral("3"), QStringLiteral("three")}},
    {QStringLiteral("d"), QVariantList{QStringLiteral("4"), QStringLiteral("four")}},
};

} // namespace

class tst_CustomPropsEditDlg : public QObject
{
    Q_OBJECT

private slots:
    void buildsForm();
    void fillsTableInNameOrder_data();
    void fillsTableInNameOrder();
    void readsTableBack_data();
    void readsTableBack();
    void appendsRow_data();
    void appendsRow();
    void removesRowsOfSelectedCells_data();
    void removesRowsOfSelectedCells();
    void marksRowWithoutName_data();
    void marksRowWithoutName();
};

void tst_CustomPropsEditDlg::buildsForm()
{
    CustomPropsEditDlg dialog({});
    QCOMPARE(dialog.objectName(), QStringLiteral("CustomPropsEditDlg"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Custom properties"));
    QCOMPARE(dialog.size(), QSize(400, 300));
    QTableWidget *table = tableOf(dialog);
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 3);
    QStringList headers;
    for (int column = 0; column < 3; ++column)
        headers << table->horizontalHeaderItem(column)->text();
    QCOMPARE(headers, (QStringList{"Name", "Value", "Description"}));
    QCOMPARE(table->contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(table->horizontalHeader()->stretchLastSection());
    auto *buttons = part<QDialogButtonBox>(dialog, "buttonBox");
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

void tst_CustomPropsEditDlg::fillsTableInNameOrder_data()
{
    QTest::addColumn<QVariantMap>("properties");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("names in string order")
        << QVariantMap{{"b", QVariantList{"x", "bee"}},
                       {"a", QVariantList{"y", "ay"}},
                       {"C", QVariantList{"z", "cee"}}}
        << QStringList{"C|z|cee", "a|y|ay", "b|x|bee"} << QStringList();
    QTest::newRow("three elements: first and last")
        << QVariantMap{{"t", QVariantList{"v", "middle", "d"}}} << QStringList{"t|v|d"}
        << QStringList();
    QTest::newRow("number as text")
        << QVariantMap{{"n", QVariantList{42, 7}}} << QStringList{"n|42|7"} << QStringList();
    QTest::newRow("entries that are no list of two")
        << QVariantMap{{"one", QVariantList{"v"}}, {"text", "v"}, {"z", QVariantList{"1", "2"}}}
        << QStringList{"one|<no item>|<no item>", "text|<no item>|<no item>", "z|1|2"}
        << QStringList{"Invalid propery one value", "Invalid propery text value"};
    QTest::newRow("name outside Latin-1")
        << QVariantMap{{"район", "v"}} << QStringList{"район|<no item>|<no item>"}
        << QStringList{"Invalid propery район value"};
}

void tst_CustomPropsEditDlg::fillsTableInNameOrder()
{
    QFETCH(QVariantMap, properties);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, warnings);

    for (const QString &warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, warning.toLocal8Bit().constData());
    CustomPropsEditDlg dialog(properties);
    QCOMPARE(rowTexts(tableOf(dialog)), shown);
}

void tst_CustomPropsEditDlg::readsTableBack_data()
{
    QTest::addColumn<QVariantMap>("properties");
    QTest::addColumn<QStringList>("edits"); // "row,column=text", as the cell editor commits
    QTest::addColumn<QStringList>("result");

    const QVariantMap list{{"l", QVariantList{QVariant(QVariantList{1, 2}), "d"}}};

    QTest::newRow("texts unchanged") << QVariantMap{{"a", QVariantList{"1", "one"}}}
                                     << QStringList() << QStringList{"a=QString 1|QString one"};
    QTest::newRow("number comes back as text")
        << QVariantMap{{"n", QVariantList{42, 7}}} << QStringList()
        << QStringList{"n=QString 42|QString 7"};
    QTest::newRow("three elements come back as two")
        << QVariantMap{{"t", QVariantList{"v", "middle", "d"}}} << QStringList()
        << QStringList{"t=QString v|QString d"};
    QTest::newRow("same name: the lower row wins")
        << QVariantMap{{"a", QVariantList{"1", "one"}}, {"b", QVariantList{"2", "two"}}}
        << QStringList{"1,0=a"} << QStringList{"a=QString 2|QString two"};
    QTest::newRow("row without a name dropped")
        << QVariantMap{{"a", QVariantList{"1", "one"}}, {"b", QVariantList{"2", "two"}}}
        << QStringList{"0,0="} << QStringList{"b=QString 2|QString two"};
    // Written back, an empty value would wipe what the host holds.
    QTest::newRow("invalid entry comes back as it came")
        << QVariantMap{{"bad", "v"}} << QStringList() << QStringList{"bad=no list: QString v"};
    QTest::newRow("invalid entry with a typed value")
        << QVariantMap{{"bad", "v"}} << QStringList{"0,1=typed"}
        << QStringList{"bad=QString typed|QString "};
    QTest::newRow("invalid entry with a typed description")
        << QVariantMap{{"bad", QVariantList{"v"}}} << QStringList{"0,2=typed"}
        << QStringList{"bad=QString |QString typed"};
    QTest::newRow("invalid entry renamed") << QVariantMap{{"bad", "v"}} << QStringList{"0,0=good"}
                                           << QStringList{"good=QString |QString "};
    QTest::newRow("list kept when not edited")
        << list << QStringList() << QStringList{"l=QVariantList 1,2|QString d"};
    QTest::newRow("list kept when renamed or described anew")
        << list << QStringList{"0,0=m", "0,2=new"} << QStringList{"m=QVariantList 1,2|QString new"};
    QTest::newRow("list edited becomes text")
        << list << QStringList{"0,1=3"} << QStringList{"l=QString 3|QString d"};
    QTest::newRow("list edited and cleared again becomes text")
        << list << QStringList{"0,1=3", "0,1="} << QStringList{"l=QString |QString d"};
    QTest::newRow("map kept when not edited")
        << QVariantMap{{"m", QVariantList{QVariantMap{{"k", 1}}, "d"}}} << QStringList()
        << QStringList{"m=QVariantMap k:1|QString d"};
    QTest::newRow("point kept when not edited")
        << QVariantMap{{"p", QVariantList{QPointF(1, 2), "d"}}} << QStringList()
        << QStringList{"p=QPointF |QString d"};
}

void tst_CustomPropsEditDlg::readsTableBack()
{
    QFETCH(QVariantMap, properties);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, result);

    if (properties.contains(QStringLiteral("bad")))
        QTest::ignoreMessage(QtWarningMsg, "Invalid propery bad value");
    CustomPropsEditDlg dialog(properties);
    QTableWidget *table = tableOf(dialog);
    for (const QString &edit : edits) {
        const int equals = edit.indexOf(QLatin1Char('='));
        const QStringList cell = edit.left(equals).split(QLatin1Char(','));
        const int row = cell.at(0).toInt();
        const int column = cell.at(1).toInt();
        if (!table->item(row, column))
            table->setItem(row, column, new QTableWidgetItem);
        table->model()->setData(table->model()->index(row, column), edit.mid(equals + 1),
                                Qt::EditRole);
    }
    QCOMPARE(describe(dialog.properties()), result);
}

void tst_CustomPropsEditDlg::appendsRow_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Insert on the table") << "key on table";
    QTest::newRow("Insert on the dialog") << "key on dialog";
    QTest::newRow("Add of the context menu") << "menu";
}

void tst_CustomPropsEditDlg::appendsRow()
{
    QFETCH(QString, how);

    CustomPropsEditDlg dialog(fourRows);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *table = tableOf(dialog);
    table->setCurrentCell(1, 2);

    if (how == QLatin1String("menu"))
        useContextMenu(table, QStringLiteral("Add"));
    else
        QTest::keyClick(how == QLatin1String("key on table") ? static_cast<QWidget *>(table)
                                                             : &dialog,
                        Qt::Key_Insert);

    QCOMPARE(rowTexts(table).mid(3), (QStringList{"d|4|four", "||"}));
    QCOMPARE(table->currentRow(), 4);
    QCOMPARE(table->currentColumn(), 0);
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first(), table->model()->index(4, 0));
    QVERIFY(!table->indexWidget(selected.first())); // no editor opened
    QVERIFY(dialog.isVisible());
}

void tst_CustomPropsEditDlg::removesRowsOfSelectedCells_data()
{
    QTest::addColumn<QList<QPoint>>("selected"); // (column, row), in the order of selecting
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("current"); // name of the current row afterwards; "*": any

    const QStringList both{"Add (Ins)", "Remove (Del)"};
    QTest::newRow("second and third rows through Remove")
        << QList<QPoint>{{1, 1}, {2, 2}} << "menu" << both << QStringList{"a", "d"} << "d";
    QTest::newRow("last row through Delete")
        << QList<QPoint>{{0, 3}} << "key" << QStringList() << QStringList{"a", "b", "c"} << "c";
    QTest::newRow("two cells of one row through Delete")
        << QList<QPoint>{{0, 0}, {2, 0}} << "key" << QStringList() << QStringList{"b", "c", "d"}
        << "b";
    QTest::newRow("rows selected bottom up")
        << QList<QPoint>{{0, 2}, {0, 1}} << "key" << QStringList() << QStringList{"a", "d"} << "d";
    QTest::newRow("every row") << QList<QPoint>{{0, 0}, {0, 1}, {0, 2}, {0, 3}} << "menu" << both
                               << QStringList() << "";
    QTest::newRow("nothing selected: no Remove in the menu")
        << QList<QPoint>() << "menu" << QStringList{"Add (Ins)"} << QStringList{"a", "b", "c", "d"}
        << "*";
    QTest::newRow("nothing selected: Delete does nothing")
        << QList<QPoint>() << "key" << QStringList() << QStringList{"a", "b", "c", "d"} << "*";
}

void tst_CustomPropsEditDlg::removesRowsOfSelectedCells()
{
    QFETCH(QList<QPoint>, selected);
    QFETCH(QString, how);
    QFETCH(QStringList, menu);
    QFETCH(QStringList, remaining);
    QFETCH(QString, current);

    CustomPropsEditDlg dialog(fourRows);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *table = tableOf(dialog);
    table->setFocus();
    table->selectionModel()->clear();
    for (const QPoint &cell : selected) {
        table->selectionModel()->select(table->model()->index(cell.y(), cell.x()),
                                        QItemSelectionModel::Select);
    }

    if (how == QLatin1String("menu"))
        QCOMPARE(useContextMenu(table, QStringLiteral("Remove")), menu);
    else
        QTest::keyClick(table, Qt::Key_Delete);

    QCOMPARE(rowTexts(table, 1), remaining);
    const QTableWidgetItem *item = table->currentItem();
    if (current != QLatin1String("*")) {
        QCOMPARE(item && table->currentColumn() == 0 ? item->text() : QString(), current);
        if (item)
            QVERIFY(item->isSelected());
    }
    QVERIFY(dialog.isVisible());
}

void tst_CustomPropsEditDlg::marksRowWithoutName_data()
{
    QTest::addColumn<QVariantMap>("properties");
    QTest::addColumn<QStringList>("steps"); // "add" (Insert), or "row,column=text" as committed
    QTest::addColumn<QString>("marks");     // as opened, then after each step

    const QVariantMap one{{"a", QVariantList{"1", "one"}}};
    QTest::newRow("added row until named, and cleared again")
        << one << QStringList{"add", "1,0=b", "1,0=", "1,0= "} << "- -m -- -m --";
    QTest::newRow("a value or a description names nothing")
        << one << QStringList{"add", "1,1=v", "1,2=d"} << "- -m -m -m";
    QTest::newRow("host entry without a name")
        << QVariantMap{{"", QVariantList{"v", "d"}}, {"a", QVariantList{"1", "one"}}}
        << QStringList{"0,0=x"} << "m- --";
    // As readsTableBack drops it.
    QTest::newRow("row without a name") << one << QStringList{"0,0="} << "- m";
}

void tst_CustomPropsEditDlg::marksRowWithoutName()
{
    QFETCH(QVariantMap, properties);
    QFETCH(QStringList, steps);
    QFETCH(QString, marks);

    CustomPropsEditDlg dialog(properties);
    QTableWidget *table = tableOf(dialog);
    QStringList seen{columnMarks(table, 0)};
    for (const QString &step : steps) {
        const QStringList f = step.split(QRegularExpression(QStringLiteral("[,=]")));
        if (step == QLatin1String("add"))
            QTest::keyClick(&dialog, Qt::Key_Insert);
        else
            table->model()->setData(table->model()->index(f.at(0).toInt(), f.at(1).toInt()),
                                    f.at(2), Qt::EditRole);
        seen << columnMarks(table, 0);
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), marks);
}

QTEST_MAIN(tst_CustomPropsEditDlg)
#include "tst_custompropseditdlg.moc"
