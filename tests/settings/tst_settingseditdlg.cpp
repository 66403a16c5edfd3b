#include "formparts.h"
#include "settingseditdlg.h"
#include "settingsfiles.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// "a=1, [s]+{b=2}": the tree as shown, hidden items left out, "+" marking an
// expanded item; sections are told by their mark.
QString dump(const QTreeWidgetItem *parent)
{
    QStringList parts;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem *item = parent->child(i);
        if (item->isHidden())
            continue;
        const QString inner = QString(item->isExpanded() ? "+" : "")
                              + (item->childCount() ? "{" + dump(item) + "}" : QString());
        if (item->data(0, Qt::UserRole + 10) == QVariant(23))
            parts << QStringLiteral("[%1]").arg(item->text(0)) + inner;
        else
            parts << item->text(1) + QLatin1Char('=') + item->text(2) + inner;
    }
    return parts.join(QStringLiteral(", "));
}

// The item at a path of child indexes ("1.0").
QTreeWidgetItem *itemAt(QTreeWidget *tree, const QString &path)
{
    QTreeWidgetItem *item = tree->invisibleRootItem();
    for (const QString &index : path.split('.', Qt::SkipEmptyParts))
        item = item ? item->child(index.toInt()) : nullptr;
    return item;
}

// Presses OK; notes every message box that opens meanwhile and closes it.
QStringList pressOk(SettingsEditDlg &dialog)
{
    QStringList seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&seen] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen << box->windowTitle() + QLatin1String(": ") + box->text();
            box->done(QMessageBox::Ok);
        }
    });
    watcher.start(10);
    press(dialog, QDialogButtonBox::Ok);
    return seen;
}

using Action = std::function<void(QTreeWidget *)>;

} // namespace

Q_DECLARE_METATYPE(Action)

class tst_SettingsEditDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void opensOnlyTheApplicationsOwnFile_data();
    void opensOnlyTheApplicationsOwnFile();
    void buttonsEditTheTree_data();
    void buttonsEditTheTree();
    void okWritesOnlyWhatChanged_data();
    void okWritesOnlyWhatChanged();
    void failureKeepsDialogOpenAndFileUnchanged_data();
    void failureKeepsDialogOpenAndFileUnchanged();
    void filterShowsMatchesWithTheirSections_data();
    void filterShowsMatchesWithTheirSections();

private:
    QString fixture(const QByteArray &text) { return m_dir.fixture(text); }

    FixtureFolder m_dir;
};

void tst_SettingsEditDlg::initTestCase()
{
    QVERIFY(m_dir.isValid());
    quietOffscreenWarnings();
    QCoreApplication::setOrganizationName(QStringLiteral("Editor2Tests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_settingseditdlg"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("user"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_dir.filePath("system"));
}

void tst_SettingsEditDlg::opensOnlyTheApplicationsOwnFile_data()
{
    QTest::addColumn<int>("scope");
    QTest::newRow("user") << 0;
    QTest::newRow("system") << 1;
}

// A QSettings of a scope also reads the organisation's file and, for the
// user, the system's files: none of their keys may be shown or copied in.
void tst_SettingsEditDlg::opensOnlyTheApplicationsOwnFile()
{
    QFETCH(int, scope);
    const auto settingsScope = QSettings::Scope(scope);
    const QString own =
        QSettings(QSettings::IniFormat, settingsScope, "Editor2Tests", "tst_settingseditdlg")
            .fileName();
    QVERIFY(writeFile(QSettings(QSettings::IniFormat, QSettings::SystemScope, "Editor2Tests",
                                "tst_settingseditdlg")
                          .fileName(),
                      "own=1\nsystem=1\n"));
    QVERIFY(writeFile(QSettings(QSettings::IniFormat, settingsScope, "Editor2Tests").fileName(),
                      "organisation=1\n"));
    if (settingsScope == QSettings::UserScope)
        QVERIFY(writeFile(own, "own=1\n"));

    SettingsEditDlg dialog(nullptr, scope, QString());
    auto *tree = part<QTreeWidget>(dialog, "propTree");
    QCOMPARE(part<QLineEdit>(dialog, "fileName")->text(), own);
    QCOMPARE(dump(tree->invisibleRootItem()), scope ? "own=1, system=1" : "own=1");
    itemAt(tree, "0")->setText(2, "2");
    QVERIFY(pressOk(dialog).isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(fileBytes(own), scope ? "own=2\nsystem=1\n" : "own=2\n");
}

void tst_SettingsEditDlg::buttonsEditTheTree_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("tree");

    const QByteArray ini("a=1\n[s]\nb=2\nt\\c=3\n");
    QTest::newRow("as read: keys before sections")
        << QByteArray(SettingsFixture) << "" << QStringList()
        << "bytes=@ByteArray(\\0\\x1), list=one, two, text=plain, [s]{n=7, point=@Point(3 4), "
           "[t]{deep=x}}, [u]{v=1}";
    QTest::newRow("as read: a long key in a collapsed section")
        << QByteArray("[Console]\nmaximumLinesOfConsole=2000\n") << "" << QStringList()
        << "[Console]{maximumLinesOfConsole=2000}";
    QTest::newRow("as read: a key too long for a narrow dialog")
        << QByteArray("[s]\nkeyWithANameTooLongForANarrowDialog=1\n") << "" << QStringList()
        << "[s]{keyWithANameTooLongForANarrowDialog=1}";
    QTest::newRow("item into the selected section")
        << ini << "1" << QStringList{"add"} << "a=1, [s]{b=2, [t]{c=3}, key=value}";
    QTest::newRow("item and subsection into the section above the selected key")
        << ini << "1.1.0" << QStringList{"add", "addSubsection"}
        << "a=1, [s]{b=2, [t]{c=3, key=value, [Section]}}";
    QTest::newRow("nothing selected: into the first top-level item, a key")
        << ini << "" << QStringList{"add", "addSubsection"}
        << "a=1{key=value, [Section]}, [s]{b=2, [t]{c=3}}";
    QTest::newRow("section at the top level, whatever is selected")
        << ini << "1.1" << QStringList{"addSection"} << "a=1, [s]{b=2, [t]{c=3}}, [Section]";
    QTest::newRow("empty tree: only a section can be added")
        << QByteArray() << "" << QStringList{"add", "addSubsection", "addSection", "addSubsection"}
        << "[Section]{[Section]}";
    QTest::newRow("remove a section with its subtree")
        << ini << "1" << QStringList{"remove"} << "a=1";
}

void tst_SettingsEditDlg::buttonsEditTheTree()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, selected);
    QFETCH(QStringList, buttons);
    QFETCH(QString, tree);

    const QString name = fixture(ini);
    SettingsEditDlg dialog(nullptr, 0, name);
    QCOMPARE(part<QLineEdit>(dialog, "fileName")->text(), name);
    auto *propTree = part<QTreeWidget>(dialog, "propTree");
    if (!selected.isEmpty())
        itemAt(propTree, selected)->setSelected(true);
    for (const QString &button : buttons)
        press(dialog, qPrintable(button));
    QCOMPARE(dump(propTree->invisibleRootItem()), tree);
    const QFontMetrics metrics(propTree->font());
    for (QTreeWidgetItemIterator it(propTree); *it; ++it) {
        QVERIFY((*it)->flags() & Qt::ItemIsEditable);
        QVERIFY(!(*it)->isExpanded());
        // Read items fit their columns, collapsed as they are.
        if (buttons.isEmpty())
            QVERIFY(metrics.horizontalAdvance((*it)->text(1)) < propTree->columnWidth(1));
    }
    // Section and Key show every text whole, as the view measures them, and
    // leave Value its share when the dialog narrows.
    propTree->expandAll();
    const QAbstractItemView *view = propTree;
    for (const int width : {200, 800}) {
        dialog.show();
        dialog.resize(width, 400);
        QCoreApplication::processEvents();
        const int shown = propTree->viewport()->width();
        QVERIFY(propTree->columnWidth(2) >= shown / 3);
        for (int column = 0; column < 2 && width > 200; ++column)
            QVERIFY(view->sizeHintForColumn(column) <= propTree->columnWidth(column));
    }
}

void tst_SettingsEditDlg::okWritesOnlyWhatChanged_data()
{
    QTest::addColumn<QByteArray>("ini"); // null: SettingsFixture
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("content"); // empty: the file keeps its bytes

    // Tree: bytes, list, text, [s]{n, point, [t]{deep}}, [u]{v}.
    const QStringList read{
        "bytes:QByteArray=0001", "list:QStringList=one|two", "s/n:QString=7", "s/point:QPoint=3,4",
        "s/t/deep:QString=x",    "text:QString=plain",       "u/v:QString=1"};
    QTest::newRow("no edit keeps the bytes")
        << QByteArray() << Action([](QTreeWidget *) {}) << QStringList();
    // A NaN is unequal to itself, and yet unedited.
    QTest::newRow("no edit of a float NaN keeps the bytes")
        << QByteArray("x=@Variant(\\0\\0\\0\\x87\\x7f\\xc0\\0\\0)\n; kept\n")
        << Action([](QTreeWidget *) {}) << QStringList();
    QTest::newRow("edited and reverted, ignored columns typed into: bytes kept")
        << QByteArray() << Action([](QTreeWidget *t) {
               itemAt(t, "2")->setText(2, "changed");
               itemAt(t, "2")->setText(2, "plain");
               itemAt(t, "2")->setText(0, "ignored");
               itemAt(t, "3")->setText(2, "ignored");
           })
        << QStringList();
    // Typed into the cell editor, as a user does.
    QTest::newRow("value edited: list, bytes and point survive")
        << QByteArray() << Action([](QTreeWidget *t) {
               t->expandItem(itemAt(t, "3"));
               t->editItem(itemAt(t, "3.0"), 2);
               auto *editor = t->viewport()->findChild<QLineEdit *>();
               editor->selectAll();
               QTest::keyClicks(editor, "8");
               QTest::keyClick(editor, Qt::Key_Return);
               QTRY_COMPARE(itemAt(t, "3.0")->text(2), QStringLiteral("8"));
           })
        << QStringList{read[0], read[1], "s/n:QString=8", read[3], read[4], read[5], read[6]};
    // A list of one item is no list as QSettings writes it.
    QTest::newRow("values edited: each keeps its kind")
        << QByteArray("a=x, y\nb=x, y\nc=@ByteArray(\\0)\np=@Point(1 2)\n")
        << Action([](QTreeWidget *t) {
               const QStringList texts{"1, 2, 3", "1", "ab", "@Point(5 6)"};
               for (int i = 0; i < texts.size(); ++i)
                   t->topLevelItem(i)->setText(2, texts.at(i));
           })
        << QStringList{"a:QStringList=1|2|3", "b:QStringList=1", "c:QByteArray=6162",
                       "p:QPoint=5,6"};
    QTest::newRow("section renamed")
        << QByteArray() << Action([](QTreeWidget *t) { itemAt(t, "4")->setText(0, "w"); })
        << read.mid(0, 6) + QStringList{"w/v:QString=1"};
    QTest::newRow("section removed")
        << QByteArray() << Action([](QTreeWidget *t) { delete itemAt(t, "3"); })
        << QStringList{read[0], read[1], read[5], read[6]};
    // QSettings skips the "#" line; the quoted value runs on to the next line.
    QTest::newRow("lines QSettings skips, a quoted value past its line: kept")
        << QByteArray("# c\na=\"x\ny\"\nb=1\n")
        << Action([](QTreeWidget *t) { t->topLevelItem(1)->setText(2, "2"); })
        << QStringList{"a:QString=x\ny", "b:QString=2"};
    QTest::newRow("key under a key not written, two alike: later wins")
        << QByteArray() << Action([](QTreeWidget *t) {
               press(*t->window(), "add"); // no selection: under the first item, a key
               itemAt(t, "4")->setSelected(true);
               press(*t->window(), "add");
               itemAt(t, "4.1")->setText(1, "v");
               itemAt(t, "4.1")->setText(2, "later");
           })
        << read.mid(0, 6) + QStringList{"u/v:QString=later"};
}

void tst_SettingsEditDlg::okWritesOnlyWhatChanged()
{
    QFETCH(QByteArray, ini);
    QFETCH(Action, action);
    QFETCH(QStringList, content);

    if (ini.isNull())
        ini = SettingsFixture;
    const QString name = fixture(ini);
    QSettings open(name, QSettings::IniFormat);
    SettingsEditDlg dialog(nullptr, 0, name);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!part<QLabel>(dialog, "readStatus")->isVisible());
    action(part<QTreeWidget>(dialog, "propTree"));
    QVERIFY(pressOk(dialog).isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (content.isEmpty()) {
        QCOMPARE(fileBytes(name), ini);
        return;
    }
    // A settings object of the process open on the file sees what was saved.
    QCOMPARE(open.allKeys(), keysOf(content));
    QCOMPARE(fileContent(name), content);
}

void tst_SettingsEditDlg::failureKeepsDialogOpenAndFileUnchanged_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("readBefore"); // by another settings object of the process
    QTest::addColumn<bool>("underFile");  // the file's folder is a regular file
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("writtenMeanwhile"); // by another program, the dialog open
    QTest::addColumn<QString>("readStatus");          // said above the tree as it opens

    const QString unread =
        QStringLiteral("Error: The file %1 was not saved because it could not be read cleanly.");
    // Sections are parsed when first used: only reading every key finds it.
    QTest::newRow("value claiming more memory than there is, in a later section")
        << QByteArray("a=1\n[s]\nw=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n") << false << false
        << 0 << unread << QByteArray() << "the value on line 3 claims more memory than there is.";
    // QSettings reports the fault only to the first object that parses the
    // file in the process; a host has long read its own files.
    QTest::newRow("damaged file the process had read before")
        << QByteArray(
               "[General]\r\nlanguage=ru\r\n[broken\r\nk=1\r\n[Console]\r\nintervalMs=350\r\n")
        << true << false << 0 << unread << QByteArray()
        << "the section header on line 3 does not close on its line.";
    QTest::newRow("nested deeper than any routine may recurse")
        << "[s]\n" + QByteArray("a/").repeated(60000) + "k=1\n"
        << false << false << 0 << unread << QByteArray() << "line 2 nests sections deeper than 64.";
    QTest::newRow("folder cannot be created")
        << QByteArray() << false << true << 0
        << "Error: The file %1 could not be saved: " << QByteArray() << QString();
    QTest::newRow("file changed on disk while the dialog was open")
        << QByteArray(SettingsFixture) << false << false << 0
        << "Error: The file %1 could not be saved: The file changed on disk"
        << QByteArray("[Other]\nwritten=meanwhile\n") << QString();
    QTest::newRow("disk full") << QByteArray(SettingsFixture) << false << false << 64
                               << "Error: The file %1 could not be saved: " << QByteArray()
                               << QString();
}

void tst_SettingsEditDlg::failureKeepsDialogOpenAndFileUnchanged()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, readBefore);
    QFETCH(bool, underFile);
    QFETCH(int, sizeLimit);
    QFETCH(QByteArray, writtenMeanwhile);
    QFETCH(QString, message);
    QFETCH(QString, readStatus);

    const QString name = fixture(ini) + (underFile ? QStringLiteral("/x.ini") : QString());
    QSettings earlier(name, QSettings::IniFormat);
    if (readBefore)
        QCOMPARE(earlier.allKeys().size(), 3);
    SettingsEditDlg dialog(nullptr, 0, name);
    auto *status = part<QLabel>(dialog, "readStatus");
    QVERIFY(status);
    QCOMPARE(status->isHidden(), readStatus.isEmpty());
    if (!readStatus.isEmpty())
        QCOMPARE(status->text(), "This file cannot be saved: " + readStatus);
    if (!writtenMeanwhile.isNull()) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(writtenMeanwhile);
    }
    const QByteArray before = fileBytes(name);
    dialog.show();
    auto *tree = part<QTreeWidget>(dialog, "propTree");
    press(dialog, "addSection");
    tree->topLevelItem(tree->topLevelItemCount() - 1)->setSelected(true);
    press(dialog, "add");
    const QString shown = dump(tree->invisibleRootItem());
    QStringList seen;
    {
        std::unique_ptr<FileSizeLimit> limit(sizeLimit ? new FileSizeLimit(sizeLimit) : nullptr);
        seen = pressOk(dialog);
    }
    QCOMPARE(seen.size(), 1);
    QVERIFY2(seen.first().startsWith(message.arg(name)), qPrintable(seen.first()));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dump(tree->invisibleRootItem()), shown);
    QCOMPARE(fileBytes(name), before);
    const QString added = QStringLiteral("Section/key:QString=value");
    QVERIFY(!fileContent(name).contains(added));
    // Once the cause is gone, OK saves.
    if (sizeLimit) {
        QVERIFY(pressOk(dialog).isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(fileContent(name).contains(added));
    }
}

void tst_SettingsEditDlg::filterShowsMatchesWithTheirSections_data()
{
    QTest::addColumn<QStringList>("expanded"); // before filtering
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("typed"); // one text after another
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("saved"); // keys in the file after OK

    QTest::newRow("key name or value, in any case, with the sections leading there")
        << QStringList() << "" << QStringList{"PORT"} << QStringList()
        << "[Net]+{port=80, [Proxy]+{user=PortUser}}" << 5;
    QTest::newRow("a section's name shows all it holds")
        << QStringList() << "" << QStringList{"prox"} << QStringList()
        << "[Net]+{[Proxy]+{user=PortUser}}" << 5;
    QTest::newRow("another text hides what the last one showed")
        << QStringList() << "" << QStringList{"example", "geometry"} << QStringList()
        << "[Window]+{geometry=1 2}" << 5;
    QTest::newRow("cleared: the tree as it was, expansion included")
        << QStringList{"1.2", "2"} << "" << QStringList{"port", ""} << QStringList()
        << "a=alpha, [Net]{host=example, port=80, [Proxy]+{user=PortUser}}, [Window]+{geometry=1 2}"
        << 5;
    // "Remove" leaves the hidden selection, "Add item" then goes to the first
    // item, hidden too.
    QTest::newRow("hidden selection not removed, item added under a hidden one shown")
        << QStringList() << "0" << QStringList{"example"} << QStringList{"remove", "add"}
        << "a=alpha+{key=value}, [Net]+{host=example}" << 5;
    QTest::newRow("item added while filtered: OK saves the hidden items too")
        << QStringList() << "1" << QStringList{"example"} << QStringList{"add"}
        << "[Net]+{host=example, key=value}" << 6;
}

void tst_SettingsEditDlg::filterShowsMatchesWithTheirSections()
{
    QFETCH(QStringList, expanded);
    QFETCH(QString, selected);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, buttons);
    QFETCH(QString, shown);
    QFETCH(int, saved);

    const QString name = fixture("a=alpha\n[Net]\nhost=example\nport=80\n[Net/Proxy]\n"
                                 "user=PortUser\n[Window]\ngeometry=1 2\n");
    SettingsEditDlg dialog(nullptr, 0, name);
    auto *tree = part<QTreeWidget>(dialog, "propTree");
    auto *filter = part<QLineEdit>(dialog, "filter");
    QVERIFY(filter);
    for (const QString &path : expanded)
        itemAt(tree, path)->setExpanded(true);
    if (!selected.isEmpty())
        itemAt(tree, selected)->setSelected(true);
    for (const QString &text : typed) {
        filter->setText(text);
        // The clear button fades in or out; an unfinished fade would outlive
        // the dialog.
        const auto *clear = filter->findChild<QToolButton *>();
        QTRY_COMPARE(clear->property("opacity").toReal(), text.isEmpty() ? 0.0 : 1.0);
    }
    for (const QString &button : buttons)
        press(dialog, qPrintable(button));
    QCOMPARE(dump(tree->invisibleRootItem()), shown);
    QVERIFY(pressOk(dialog).isEmpty());
    QCOMPARE(fileContent(name).size(), saved);
}

QTEST_MAIN(tst_SettingsEditDlg)
#include "tst_settingseditdlg.moc"
