#include "custompropseditdlg.h"
#include "eventsmaskdialog.h"
#include "objectpropertiesdlg.h"
#include "osmviewpropertiesdlg.h"
#include "presetseditdlg.h"
#include "projectpropertiesdlg.h"
#include "settingseditdlg.h"
#include "standinhost.h"

#include <PythonQt.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// What the dialogs are shown with: tables with rows, since a table keeps Tab
// for its cells only when it has some, and filters that the grids show.
struct Host
{
    Host()
    {
        light.presetPhase(1, QStringLiteral("North"), QString());
        light.presetProgram(1, QStringLiteral("Day"));
        light.presetCustomProperties({{QStringLiteral("lane"), QVariantList{3, QString()}}});
        project.preset("connection", QVariant::fromValue<QObject *>(&connection));
        QFile ini(dir.filePath(QStringLiteral("project.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Map]\nsize=1\n1\\name=City\n[Presets]\nsize=1\n1\\name=Centre\n");
        ini.close();
        settings = std::make_unique<QSettings>(ini.fileName(), QSettings::IniFormat);
    }

    QStringList log;
    Arvel::Light light{&log};
    Arvel::Connection connection{&log};
    Arvel::Project project{&log};
    OsmView view{&log};
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
};

using MakeDialog = std::function<QDialog *(Host &)>;

QRect placeOf(const QWidget *widget, const QWidget *dialog)
{
    return QRect(widget->mapTo(dialog, QPoint()), widget->size());
}

// On a later line, or further right on the same line; a grid of check boxes
// is read column by column.
bool readAfter(const QWidget *previous, const QWidget *next, const QWidget *dialog)
{
    const QRect a = placeOf(previous, dialog);
    const QRect b = placeOf(next, dialog);
    if (b.center().y() < a.top()) {
        return qobject_cast<const QCheckBox *>(previous) && qobject_cast<const QCheckBox *>(next)
               && previous->parentWidget() == next->parentWidget() && b.left() > a.right();
    }
    return b.center().y() > a.bottom() || b.center().x() > a.center().x();
}

// By a label, or by a text of its own with a letter ("..." says nothing); a
// combo box on Linux gives its current text as its name, so it needs a label.
bool named(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    const auto labels = face->relations(QAccessible::Label);
    for (const auto &label : labels) {
        if (qobject_cast<QLabel *>(label.first->object()))
            return true;
    }
    const QString text = face->text(QAccessible::Name);
    return !widget->accessibleName().isEmpty()
           || (!qobject_cast<QComboBox *>(widget)
               && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

QString describe(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName(),
             widget->property("text").toString());
}

} // namespace

Q_DECLARE_METATYPE(MakeDialog)

class tst_DialogKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PythonQt::init();
        PythonQt::self()->createModuleFromScript(
            QStringLiteral("arvel"),
            QStringLiteral("class _M: pass\nav_module = _M()\n"
                           "av_module.requestFilter = 'request.command in (0x1000,)'\n"
                           "av_module.responseFilter = av_module.notificationFilter = '0'\n"));
    }
    void cleanupTestCase() { PythonQt::cleanup(); }

    void worksFromKeyboard_data();
    void worksFromKeyboard();
};

void tst_DialogKeyboard::worksFromKeyboard_data()
{
    QTest::addColumn<MakeDialog>("make");
    QTest::newRow("object") << MakeDialog(
        [](Host &host) { return new ObjectPropertiesDlg(nullptr, &host.light); });
    QTest::newRow("events mask") << MakeDialog(
        [](Host &) { return new EventsMaskDialog(nullptr, 0x21); });
    QTest::newRow("custom properties") << MakeDialog(
        [](Host &host) { return new CustomPropsEditDlg(host.light.storedCustomProperties()); });
    // The answers' filter is a custom one, which once moved the focus.
    QTest::newRow("project") << MakeDialog(
        [](Host &host) { return new ProjectPropertiesDlg(nullptr, &host.project); });
    QTest::newRow("map properties") << MakeDialog([](Host &host) {
        return new OsmViewPropertiesDlg(nullptr, host.settings.get(), &host.view);
    });
    QTest::newRow("presets") << MakeDialog(
        [](Host &host) { return new PresetsEditDlg(nullptr, host.settings.get(), &host.view); });
    QTest::newRow("settings editor") << MakeDialog(
        [](Host &host) { return new SettingsEditDlg(nullptr, 0, host.settings->fileName()); });
}

// Tab from the widget that has the focus as the dialog opens goes through
// every widget that takes it, each named for a screen reader, in reading
// order with OK and Cancel last, and back to the start; Shift+Tab goes the
// same way back; Insert and Delete add and remove a table's rows.
void tst_DialogKeyboard::worksFromKeyboard()
{
    QFETCH(MakeDialog, make);
    Host host;
    const std::unique_ptr<QDialog> dialog(make(host));
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

    QList<QWidget *> walk{QApplication::focusWidget()};
    for (QWidget *next = walk.first(); next;) {
        QTest::keyClick(next, Qt::Key_Tab);
        next = QApplication::focusWidget();
        QVERIFY2(next != walk.last(), qPrintable("Tab stays in " + describe(next)));
        if (next == walk.first())
            break;
        QVERIFY2(!walk.contains(next), qPrintable("Tab cycles without " + describe(walk.first())));
        walk.append(next);
    }
    for (QWidget *widget : dialog->findChildren<QWidget *>()) {
        const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()
                              && widget->isVisible() && widget->isEnabled();
        QVERIFY2(!takesTab || widget->window() != dialog.get() || walk.contains(widget),
                 qPrintable("not reached: " + describe(widget)));
    }

    const auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(walk.size() > 2);
    QVERIFY2(QSet<QWidget *>(walk.end() - 2, walk.end())
                 == QSet<QWidget *>({buttons->button(QDialogButtonBox::Ok),
                                     buttons->button(QDialogButtonBox::Cancel)}),
             qPrintable("last: " + describe(walk.last())));
    QStringList faults;
    for (int i = 0; i < walk.size(); ++i) {
        if (!named(walk.at(i)))
            faults << "no name: " + describe(walk.at(i));
        if (i > 0 && !readAfter(walk.at(i - 1), walk.at(i), dialog.get()))
            faults << "back from " + describe(walk.at(i - 1)) + " to " + describe(walk.at(i));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));

    for (int i = walk.size() - 1; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), walk.at(i));
    }
    for (QWidget *widget : walk) {
        if (auto *table = qobject_cast<QTableWidget *>(widget)) {
            const int rows = table->rowCount();
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Insert);
            QCOMPARE(table->rowCount(), rows + 1);
            table->setCurrentCell(rows, 0);
            QTest::keyClick(table, Qt::Key_Delete);
            QCOMPARE(table->rowCount(), rows);
        }
        // The arrow keys lead to a key's value, which F2 edits.
        if (auto *tree = qobject_cast<QTreeWidget *>(widget)) {
            tree->setFocus();
            tree->setCurrentItem(tree->topLevelItem(0)->child(0), 0);
            QTest::keyClick(tree, Qt::Key_Right);
            QTest::keyClick(tree, Qt::Key_Right);
            QTest::keyClick(tree, Qt::Key_F2);
            QCOMPARE(tree->currentColumn(), 2);
            QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        }
    }
}

QTEST_MAIN(tst_DialogKeyboard)

#include "tst_dialogkeyboard.moc"
