#include "controllerexchange.h"
#include "formparts.h"
#include "inputmarks.h"
#include "modaldriver.h"
#include "objectform.h"
#include "objectpropertiesdlg.h"
#include "standinhost.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

void setRow(QTableWidget *table, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column)
        table->item(row, column)->setText(cells.at(column));
}

} // namespace

class tst_ObjectPropertiesDlg : public QObject
{
    Q_OBJECT

private slots:
    void loadsObjectIntoForm();
    void showsIdentifierInField_data();
    void showsIdentifierInField();
    void loadsObjectWithoutProperties();
    void takesBaseDirOnlyFromProject_data();
    void takesBaseDirOnlyFromProject();
    void showsProgramsWhenPhasesCannotBeListed();
    void resizesTablesOnceEventLoopRuns();

    void appendsEmptyRow_data();
    void appendsEmptyRow();
    void removesRowsOfSelectedCells_data();
    void removesRowsOfSelectedCells();
    void previewsActivatedPhase_data();
    void previewsActivatedPhase();
    void skipsPreviewViewDeletedMeanwhile();

    void writesEverythingInOrder();
    void writesPositionOnlyWhenItParses_data();
    void writesPositionOnlyWhenItParses();
    void checksIdentifierAgainstProject_data();
    void checksIdentifierAgainstProject();
    void refusesInvalidOrTakenIdentifier_data();
    void refusesInvalidOrTakenIdentifier();

    void closesAsRejectedWhenObjectIsDeleted();
    void doesNothingWithoutObject();
    void keepsExchangeProgressHidden();

    void editsEventMaskInItsEditor_data();
    void editsEventMaskInItsEditor();
    void editsCustomPropertiesInTheirEditor_data();
    void editsCustomPropertiesInTheirEditor();

private:
    QStringList m_log;
};

void tst_ObjectPropertiesDlg::loadsObjectIntoForm()
{
    m_log.clear();
    Arvel::Project project(&m_log);
    project.preset("baseDir", QStringLiteral("/data/proj"));
    auto *light = new Arvel::Light(&m_log, &project);
    light->preset("id", 7);
    light->preset("type", QStringLiteral("Arvel2"));
    light->preset("description", QStringLiteral("Crossing"));
    light->preset("position", QPointF(37.123456789012345, 0.000123));
    light->preset("shema", QStringLiteral("/data/proj/schemas/main.svg"));
    light->preset("RcdControl", true);
    light->presetPhase(1, QStringLiteral("North"), QStringLiteral("/data/proj/p1.svg"));
    light->presetPhase(2, QStringLiteral("South"), QStringLiteral("/elsewhere/p2.svg"));
    light->presetPhase(3, QStringLiteral("All red"), QString());
    light->presetProgram(10, QStringLiteral("Morning"));

    ObjectPropertiesDlg dialog(nullptr, light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());

    QCOMPARE(ui.id->value(), 7);
    QCOMPARE(ui.type->currentText(), QStringLiteral("Arvel2"));
    QCOMPARE(ui.type->count(), 12);
    QCOMPARE(ui.descr->text(), QStringLiteral("Crossing"));
    QCOMPARE(ui.pos->text(), QStringLiteral("37.123456789;0.000123"));
    QCOMPARE(ui.schema->text(), QStringLiteral("schemas/main.svg"));
    QVERIFY(ui.rcuControl->isChecked());
    QCOMPARE(rowTexts(ui.phases),
             (QStringList{"1|North|p1.svg", "2|South|../../elsewhere/p2.svg", "3|All red|"}));
    QCOMPARE(rowTexts(ui.programs), QStringList{"10|Morning"});

    // Loading reads and writes nothing else; OK straight away asks the host
    // for nothing but its custom properties: no mask or property is pending.
    QCOMPARE(m_log, (QStringList{"light.phases()", "light.programs()"}));
    m_log.clear();
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(m_log.filter(QRegularExpression(QStringLiteral("eventMask|tlo_use|[cC]ustom"))),
             QStringList{"light.customProperties()"});
}

void tst_ObjectPropertiesDlg::showsIdentifierInField_data()
{
    QTest::addColumn<QVariant>("id");
    QTest::addColumn<int>("shown");

    QTest::newRow("zero") << QVariant(0) << 0;
    QTest::newRow("negative") << QVariant(-5) << 0;
    QTest::newRow("missing") << QVariant() << 0;
    QTest::newRow("seven") << QVariant(7) << 7;
    QTest::newRow("above the field's maximum") << QVariant(1234567890) << 999999999;
}

void tst_ObjectPropertiesDlg::showsIdentifierInField()
{
    QFETCH(QVariant, id);
    QFETCH(int, shown);

    Arvel::Light light(&m_log);
    if (id.isValid())
        light.preset("id", id);
    ObjectPropertiesDlg dialog(nullptr, &light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QCOMPARE(ui.id->value(), shown);
}

void tst_ObjectPropertiesDlg::loadsObjectWithoutProperties()
{
    Arvel::Light light(&m_log);
    ObjectPropertiesDlg dialog(nullptr, &light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());

    QCOMPARE(ui.type->currentIndex(), 0);
    QCOMPARE(ui.type->count(), 12);
    QVERIFY(ui.descr->text().isEmpty());
    QCOMPARE(ui.pos->text(), QStringLiteral("0;0"));
    QVERIFY(ui.schema->text().isEmpty());
    QVERIFY(!ui.rcuControl->isChecked());
    QCOMPARE(ui.phases->rowCount(), 0);
    QCOMPARE(ui.programs->rowCount(), 0);
}

void tst_ObjectPropertiesDlg::takesBaseDirOnlyFromProject_data()
{
    QTest::addColumn<bool>("inProject");
    QTest::addColumn<QString>("baseDir");
    QTest::addColumn<QString>("shown");

    const QString file = QStringLiteral("/data/proj/x/main.svg");
    QTest::newRow("project with base folder")
        << true << "/data/proj" << QStringLiteral("x/main.svg");
    QTest::newRow("project without base folder") << true << "" << file;
    // A parent of another class may well have a baseDir; it is not the project's.
    QTest::newRow("parent that is no project") << false << "/data/proj" << file;
}

void tst_ObjectPropertiesDlg::takesBaseDirOnlyFromProject()
{
    QFETCH(bool, inProject);
    QFETCH(QString, baseDir);
    QFETCH(QString, shown);

    std::unique_ptr<QObject> parent;
    if (inProject)
        parent.reset(new Arvel::Project(&m_log));
    else
        parent.reset(new QObject);
    parent->setProperty("baseDir", baseDir);
    auto *light = new Arvel::Light(&m_log, parent.get());
    light->preset("shema", QStringLiteral("/data/proj/x/main.svg"));

    ObjectPropertiesDlg dialog(nullptr, light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QCOMPARE(ui.schema->text(), shown);
}

void tst_ObjectPropertiesDlg::showsProgramsWhenPhasesCannotBeListed()
{
    Arvel::LightWithoutLists light(&m_log);
    light.presetProgram(4, QStringLiteral("Night"));

    ObjectPropertiesDlg dialog(nullptr, &light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QCOMPARE(ui.phases->rowCount(), 0);
    QCOMPARE(rowTexts(ui.programs), QStringList{"4|Night"});
}

void tst_ObjectPropertiesDlg::resizesTablesOnceEventLoopRuns()
{
    Arvel::Light light(&m_log);
    light.presetPhase(1, QString(80, QLatin1Char('x')), QString());
    light.presetPhase(2, QStringLiteral("first line\nsecond line"), QString());
    light.presetProgram(1, QString(80, QLatin1Char('x')));

    ObjectPropertiesDlg dialog(nullptr, &light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QTableWidget *phases = ui.phases;
    QTableWidget *programs = ui.programs;
    const int initial = phases->horizontalHeader()->defaultSectionSize();
    QCOMPARE(phases->columnWidth(1), initial);
    QCOMPARE(programs->columnWidth(1), initial);

    QTRY_VERIFY(phases->columnWidth(1) > initial);
    QTRY_VERIFY(programs->columnWidth(1) > initial);
    // The rows after them, as Qt sizes them (the table kit's test has the cases).
    QTRY_VERIFY(phases->rowHeight(1) > phases->rowHeight(0));
    const int twoLines = phases->rowHeight(1);
    phases->resizeRowsToContents();
    QCOMPARE(phases->rowHeight(1), twoLines);
}

void tst_ObjectPropertiesDlg::appendsEmptyRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("button");

    QTest::newRow("phases") << QStringLiteral("phasesTable") << "addPhase";
    QTest::newRow("programs") << QStringLiteral("programsTable") << "addProg";
}

void tst_ObjectPropertiesDlg::appendsEmptyRow()
{
    QFETCH(QString, table);
    QFETCH(QString, button);

    Arvel::Light light(&m_log);
    for (int i = 1; i <= 4; ++i) {
        light.presetPhase(i, QStringLiteral("phase"), QStringLiteral("/p.svg"));
        light.presetProgram(i, QStringLiteral("program"));
    }
    ObjectPropertiesDlg dialog(nullptr, &light);
    auto *widget = dialog.findChild<QTableWidget *>(table);
    auto *add = dialog.findChild<QPushButton *>(button);
    QVERIFY(widget && add);
    const QStringList before = rowTexts(widget);

    add->click();

    const QString empty = QString(widget->columnCount() - 1, QLatin1Char('|'));
    QCOMPARE(rowTexts(widget), before + QStringList{empty});
}

void tst_ObjectPropertiesDlg::removesRowsOfSelectedCells_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<QPoint>>("selected"); // (column, row)
    QTest::addColumn<QStringList>("remaining");

    const QList<QPoint> twoRows{{0, 1}, {1, 1}, {1, 3}};
    QTest::newRow("phases: two cells of one row and one of another")
        << QStringLiteral("phasesTable") << "removePhase" << twoRows << QStringList{"1", "3", "5"};
    QTest::newRow("programs: two cells of one row and one of another")
        << QStringLiteral("programsTable") << "removeProg" << twoRows << QStringList{"1", "3", "5"};
    QTest::newRow("first and last rows")
        << QStringLiteral("phasesTable") << "removePhase" << QList<QPoint>{{2, 4}, {0, 0}}
        << QStringList{"2", "3", "4"};
    QTest::newRow("nothing selected") << QStringLiteral("phasesTable") << "removePhase"
                                      << QList<QPoint>() << QStringList{"1", "2", "3", "4", "5"};
}

void tst_ObjectPropertiesDlg::removesRowsOfSelectedCells()
{
    QFETCH(QString, table);
    QFETCH(QString, button);
    QFETCH(QList<QPoint>, selected);
    QFETCH(QStringList, remaining);

    Arvel::Light light(&m_log);
    for (int i = 1; i <= 5; ++i) {
        light.presetPhase(i, QString(), QString());
        light.presetProgram(i, QString());
    }
    ObjectPropertiesDlg dialog(nullptr, &light);
    auto *widget = dialog.findChild<QTableWidget *>(table);
    auto *remove = dialog.findChild<QPushButton *>(button);
    QVERIFY(widget && remove);
    for (const QPoint &cell : selected) {
        widget->selectionModel()->select(widget->model()->index(cell.y(), cell.x()),
                                         QItemSelectionModel::Select);
    }

    remove->click();

    QCOMPARE(rowTexts(widget, 1), remaining);
}

void tst_ObjectPropertiesDlg::previewsActivatedPhase_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<int>>("previews"); // the last one sent by the destructor
    QTest::addColumn<QString>("how");

    QTest::newRow("number") << "3" << QList<int>{3, -1} << "signal";
    QTest::newRow("number with a letter") << "3a" << QList<int>{-1} << "signal";
    QTest::newRow("empty") << "" << QList<int>{-1} << "signal";
    // Passed on, Enter would also press OK and end the preview at once.
    QTest::newRow("Enter on the row") << "3" << QList<int>{3, -1} << "Enter";
    QTest::newRow("Enter in a cell editor only commits it") << "3" << QList<int>{-1} << "edit";
    // A double click edits the cell: the mouse's way is the button.
    QTest::newRow("preview button") << "3" << QList<int>{3, -1} << "button";
}

void tst_ObjectPropertiesDlg::previewsActivatedPhase()
{
    QFETCH(QString, number);
    QFETCH(QList<int>, previews);
    QFETCH(QString, how);

    MainWindow window;
    Arvel::Light light(&m_log);
    light.preset("id", 5); // OK would close the dialog at once
    light.presetPhase(1, QStringLiteral("first"), QString());
    light.presetPhase(2, QStringLiteral("second"), QString());
    {
        ObjectPropertiesDlg dialog(nullptr, &light);
        QTableWidget *phases = ObjectForm(&dialog).phases;
        QVERIFY(phases);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        phases->item(1, 0)->setText(number);
        // The activated column does not matter: the number is in column 0.
        phases->setCurrentCell(1, 1);
        phases->setFocus();
        if (how == QLatin1String("signal")) {
            emit phases->cellActivated(1, 1);
            // Rows beyond the table have no item to read.
            emit phases->cellActivated(7, 0);
        } else if (how == QLatin1String("button")) {
            press(dialog, "preview");
        } else {
            if (how == QLatin1String("edit"))
                phases->editItem(phases->currentItem());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QVERIFY(dialog.isVisible());
    }
    QCOMPARE(window.crossView()->previews(), previews);
}

void tst_ObjectPropertiesDlg::skipsPreviewViewDeletedMeanwhile()
{
    auto *window = new MainWindow;
    Arvel::Light light(&m_log);
    light.presetPhase(3, QString(), QString());

    ObjectPropertiesDlg dialog(nullptr, &light);
    QTableWidget *phases = ObjectForm(&dialog).phases;
    QVERIFY(phases);
    delete window;
    // Neither the activation nor the destructor may call the vanished view.
    emit phases->cellActivated(0, 0);
}

void tst_ObjectPropertiesDlg::writesEverythingInOrder()
{
    m_log.clear();
    Arvel::Project project(&m_log);
    project.preset("baseDir", QStringLiteral("/data/proj"));
    auto *light = new Arvel::Light(&m_log, &project);
    light->preset("id", 5);
    light->preset("type", QStringLiteral("Шлюз-ЛТ9"));
    light->presetPhase(9, QStringLiteral("old"), QString());
    light->presetProgram(9, QStringLiteral("old"));

    ObjectPropertiesDlg dialog(nullptr, light);
    dialog.open();
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    ui.id->setValue(12);
    ui.type->setCurrentIndex(8);
    ui.descr->setText(QStringLiteral("Main street"));
    ui.pos->setText(QStringLiteral("37.5;55.75"));
    ui.schema->setText(QStringLiteral("../other/a.svg"));
    ui.rcuControl->setChecked(true);
    ui.phases->setRowCount(0);
    ui.addPhase->click();
    ui.addPhase->click();
    setRow(ui.phases, 0, {"1", "North", "a.svg"});
    setRow(ui.phases, 1, {"x", "South", ""});
    ui.programs->setRowCount(0);
    ui.addProg->click();
    setRow(ui.programs, 0, {"4", "Morning"});
    m_log.clear();

    press(dialog, QDialogButtonBox::Ok);

    const QStringList expected{
        "project.contains(12)",
        "light.id = int 12",
        "light.type = QString Arvel2",
        "light.description = QString Main street",
        "light.position = QPointF 37.5;55.75",
        "light.shema = QString /data/other/a.svg",
        "light.RcdControl = int 1",
        "light.clearPhases()",
        "light.createPhase(1, North)",
        "phase1.shema = QString /data/proj/a.svg",
        "light.createPhase(0, South)",
        "phase0.shema = QString ",
        "light.clearPrograms()",
        "light.createProgram(4, Morning)",
        "light.customProperties()",
    };
    QCOMPARE(m_log, expected);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void tst_ObjectPropertiesDlg::writesPositionOnlyWhenItParses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // empty: position untouched

    const char *const rows[][3] = {
        // The texts that parse are those of PointText's own test.
        {"two numbers", "10;20", "light.position = QPointF 10;20"},
        {"empty part", "10;;20", "light.position = QPointF 10;20"},
        {"three numbers", "10;20;30", ""},
        {"not a number", "nan;20", ""},
        {"comma instead of separator", "37.6,55.7", ""},
        {"empty", "", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2]);
}

// Typed text that OK would not write is marked, with the form it expects, and
// left unwritten.
void tst_ObjectPropertiesDlg::writesPositionOnlyWhenItParses()
{
    QFETCH(QString, text);
    QFETCH(QString, written);

    Arvel::Light light(&m_log);
    light.preset("id", 5);
    ObjectPropertiesDlg dialog(nullptr, &light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QStringList marks{fieldMark(ui.pos, ui.descr)};
    ui.pos->clear();
    marks << fieldMark(ui.pos, ui.descr);
    QTest::keyClicks(ui.pos, text);
    marks << fieldMark(ui.pos, ui.descr);
    QCOMPARE(marks, (QStringList{"plain", "marked", written.isEmpty() ? "marked" : "plain"}));
    m_log.clear();

    press(dialog, QDialogButtonBox::Ok);

    const QStringList positions = m_log.filter(QStringLiteral("light.position"));
    QCOMPARE(positions, written.isEmpty() ? QStringList() : QStringList{written});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    // As read from the controller or picked on the map: set, not typed.
    ui.pos->setText(QStringLiteral("37.6175;55.7539"));
    QCOMPARE(fieldMark(ui.pos, ui.descr), QStringLiteral("plain"));
}

void tst_ObjectPropertiesDlg::checksIdentifierAgainstProject_data()
{
    QTest::addColumn<int>("loaded");
    QTest::addColumn<int>("typed"); // -1: field left as loaded
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("written");

    QTest::newRow("new object") << 0 << 12 << true << 12;
    QTest::newRow("existing object unchanged") << 5 << -1 << false << 5;
    QTest::newRow("existing object changed") << 5 << 12 << true << 12;
    QTest::newRow("id above the field's maximum left alone")
        << 1234567890 << -1 << false << 1234567890;
    QTest::newRow("id above the field's maximum replaced") << 1234567890 << 7 << true << 7;
}

void tst_ObjectPropertiesDlg::checksIdentifierAgainstProject()
{
    QFETCH(int, loaded);
    QFETCH(int, typed);
    QFETCH(bool, asked);
    QFETCH(int, written);

    Arvel::Project project(&m_log);
    project.setIds({loaded, 99});
    auto *light = new Arvel::Light(&m_log, &project);
    light->preset("id", loaded);
    ObjectPropertiesDlg dialog(nullptr, light);
    QSpinBox *idField = ObjectForm(&dialog).id;
    QVERIFY(idField);
    if (typed >= 0)
        idField->setValue(typed);
    m_log.clear();

    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(m_log.contains(QStringLiteral("project.contains(%1)").arg(written)), asked);
    QCOMPARE(m_log.filter(QStringLiteral("light.id")),
             QStringList{QStringLiteral("light.id = int %1").arg(written)});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void tst_ObjectPropertiesDlg::refusesInvalidOrTakenIdentifier_data()
{
    QTest::addColumn<int>("loaded");
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("zero") << 0 << 0 << "Object id=0 - invalid";
    QTest::newRow("existing object cleared") << 5 << 0 << "Object id=0 - invalid";
    QTest::newRow("new object with a taken id") << 0 << 12 << "Object with id=12 already exist";
    // Two controllers of one project must never share an identifier.
    QTest::newRow("existing object changed to a taken id")
        << 5 << 12 << "Object with id=12 already exist";
}

void tst_ObjectPropertiesDlg::refusesInvalidOrTakenIdentifier()
{
    QFETCH(int, loaded);
    QFETCH(int, typed);
    QFETCH(QString, message);

    Arvel::Project project(&m_log);
    project.setIds({12});
    auto *light = new Arvel::Light(&m_log, &project);
    light->preset("id", loaded);
    light->presetPhase(1, QStringLiteral("North"), QString());
    ObjectPropertiesDlg dialog(nullptr, light);
    dialog.open();
    dialog.setResult(-1);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    ui.id->setValue(typed);
    ui.descr->setText(QStringLiteral("edited"));
    m_log.clear();

    const ModalDriver driver;
    press(dialog, QDialogButtonBox::Ok);

    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().at(0).title, QStringLiteral("Error"));
    QCOMPARE(driver.seen().at(0).text, message);
    QCOMPARE(driver.seen().at(0).icon, QMessageBox::Critical);
    QVERIFY(m_log.filter(QStringLiteral("light.")).isEmpty());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), -1);
    QCOMPARE(ui.descr->text(), QStringLiteral("edited"));
    QCOMPARE(ui.phases->rowCount(), 1);
}

void tst_ObjectPropertiesDlg::closesAsRejectedWhenObjectIsDeleted()
{
    m_log.clear();
    Arvel::Project project(&m_log);
    auto *light = new Arvel::Light(&m_log, &project);
    light->preset("id", 5);
    ObjectPropertiesDlg dialog(nullptr, light);
    dialog.open();
    dialog.setResult(-1);
    QSignalSpy finished(&dialog, &QDialog::finished);

    delete light;

    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());

    // An OK that still arrives writes nothing anywhere and keeps the rejection.
    m_log.clear();
    dialog.accept();
    QVERIFY(m_log.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void tst_ObjectPropertiesDlg::doesNothingWithoutObject()
{
    QTest::ignoreMessage(QtDebugMsg, "ObjectPropertiesDlg - null light");
    ObjectPropertiesDlg dialog(nullptr, nullptr);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QCOMPARE(ui.type->count(), 12);
    QCOMPARE(ui.phases->actions().size(), 0);
    dialog.open();
    dialog.setResult(-1);

    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// The progress dialog of the controller exchange must not pop up by itself a
// few seconds into every edit: it shows only while an exchange runs.
void tst_ObjectPropertiesDlg::keepsExchangeProgressHidden()
{
    Arvel::Light light(&m_log);
    ObjectPropertiesDlg dialog(nullptr, &light);
    auto *child = dialog.findChild<QProgressDialog *>();
    auto *exchange = dialog.findChild<ControllerExchange *>();
    QVERIFY(child && exchange);
    QProgressDialog &progress = *child;
    QCOMPARE(progress.labelText(), QStringLiteral("exchange with controller"));
    QCOMPARE(progress.windowTitle(), QStringLiteral("Reading from controller"));
    QCOMPARE(progress.minimum(), 0);
    QCOMPARE(progress.maximum(), 4);
    QVERIFY(progress.autoClose());
    QVERIFY(!progress.isVisible());
    const QList<QTimer *> timers = progress.findChildren<QTimer *>();
    for (const QTimer *timer : timers)
        QVERIFY(!timer->isActive());

    press(dialog, "fromController");
    QPointer<Response> response = light.response(QStringLiteral("GET_REFER"));
    QCOMPARE(exchange->pending(), 1);
    emit progress.rejected();
    QCOMPARE(exchange->pending(), 0);
    QTRY_VERIFY(response.isNull()); // disposed of by deferred deletion
}

namespace {

// Clicks the object dialog's `button` once per step; step i acts on the
// window that the i-th click opens and closes it. The windows seen are named.
QStringList runEditorSteps(ObjectPropertiesDlg &dialog, const QString &button,
                           const QList<ModalDriver::Action> &steps)
{
    auto *push = dialog.findChild<QPushButton *>(button);
    const ModalDriver driver(steps);
    for (int i = 0; push && i < steps.size(); ++i)
        push->click();
    QStringList opened;
    for (const ModalSeen &seen : driver.seen())
        opened << seen.objectName;
    return opened;
}

QStringList times(int count, const QString &text)
{
    QStringList texts;
    while (texts.size() < count)
        texts << text;
    return texts;
}

} // namespace

void tst_ObjectPropertiesDlg::editsEventMaskInItsEditor_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QStringList>("openings");        // buttons pressed, then ok, cancel or destroy
    QTest::addColumn<QList<int>>("checkedAtOpening"); // empty: the editor must not open
    QTest::addColumn<QStringList>("written");

    QTest::newRow("Ok at once: nothing pending")
        << QVariant(0x21u) << QStringList{"ok"} << QList<int>{2} << QStringList();
    QTest::newRow("Ok at once with a high bit: nothing pending")
        << QVariant(0x10021u) << QStringList{"ok"} << QList<int>{2} << QStringList();
    QTest::newRow("select all keeps the high bit")
        << QVariant(0x10021u) << QStringList{"selectAll ok"} << QList<int>{2}
        << QStringList{"light.tlo_use_sg_cnt = int 1", "light.eventMask = uint 131071"};
    QTest::newRow("clear all") << QVariant(0x21u) << QStringList{"clearAll ok"} << QList<int>{2}
                               << QStringList{"light.tlo_use_sg_cnt = int 0",
                                              "light.eventMask = uint 0"};
    QTest::newRow("cancel") << QVariant(0x21u) << QStringList{"clearAll cancel"} << QList<int>{2}
                            << QStringList();
    // Destroyed from outside, as the host may, while the object dialog stays.
    QTest::newRow("editor destroyed while it runs")
        << QVariant(0x21u) << QStringList{"clearAll destroy"} << QList<int>{2} << QStringList();
    // The second opening shows the stored mask again; Ok there equals it and
    // leaves the first edit pending.
    QTest::newRow("second opening starts from the stored mask")
        << QVariant(0x21u) << QStringList{"selectAll ok", "ok"} << QList<int>{2, 2}
        << QStringList{"light.tlo_use_sg_cnt = int 1", "light.eventMask = uint 65535"};
    QTest::newRow("missing property: no editor")
        << QVariant() << QStringList{"selectAll ok"} << QList<int>() << QStringList();
    QTest::newRow("text property: no editor")
        << QVariant(QStringLiteral("all")) << QStringList{"selectAll ok"} << QList<int>()
        << QStringList();
}

void tst_ObjectPropertiesDlg::editsEventMaskInItsEditor()
{
    QFETCH(QVariant, stored);
    QFETCH(QStringList, openings);
    QFETCH(QList<int>, checkedAtOpening);
    QFETCH(QStringList, written);

    Arvel::Light light(&m_log);
    light.preset("id", 5);
    if (stored.isValid())
        light.preset("eventMask", stored);
    ObjectPropertiesDlg dialog(nullptr, &light);
    dialog.open();

    QList<int> checked;
    QList<ModalDriver::Action> steps;
    for (const QString &opening : openings) {
        steps << [&checked, opening](QWidget *editor) {
            int count = 0;
            for (const QCheckBox *box : editor->findChildren<QCheckBox *>())
                count += box->isChecked() ? 1 : 0;
            checked << count;
            QStringList words = opening.split(QLatin1Char(' '));
            const QString close = words.takeLast();
            for (const QString &word : words)
                editor->findChild<QPushButton *>(word)->click();
            if (close == QLatin1String("destroy"))
                delete editor;
            else
                ModalDriver::press(editor, close == QLatin1String("ok") ? QDialogButtonBox::Ok
                                                                        : QDialogButtonBox::Cancel);
        };
    }
    if (checkedAtOpening.isEmpty()) {
        for (int i = 0; i < openings.size(); ++i)
            QTest::ignoreMessage(QtDebugMsg, "Can't get eventMask property");
    }
    const QStringList opened = runEditorSteps(dialog, QStringLiteral("changeEventsMask"), steps);
    QCOMPARE(opened, times(checkedAtOpening.size(), QStringLiteral("EventsMaskDialog")));
    QCOMPARE(checked, checkedAtOpening);
    m_log.clear();

    press(dialog, QDialogButtonBox::Ok);

    const QRegularExpression maskWrites(QStringLiteral("tlo_use|eventMask"));
    QCOMPARE(m_log.filter(maskWrites), written);
    // Written once: a second apply finds nothing pending.
    m_log.clear();
    dialog.accept();
    QVERIFY(m_log.filter(maskWrites).isEmpty());
}

void tst_ObjectPropertiesDlg::editsCustomPropertiesInTheirEditor_data()
{
    // Each opening: "delete first row" or not, then "ok", "cancel" or "destroy".
    QTest::addColumn<QStringList>("openings");
    QTest::addColumn<QStringList>("shown"); // names in the table at each opening
    QTest::addColumn<QStringList>("calls");

    // The host's l holds a list, which has no text form; unedited, it goes back as it was.
    QTest::newRow("Ok at once: every property written back, the list unchanged")
        << QStringList{"ok"} << QStringList{"a,l"}
        << QStringList{"light.customProperties()", "light.setCustomProperty(a, QString 1, ay)",
                       "light.setCustomProperty(l, QVariantList , el)"};
    QTest::newRow("cancel: nothing written")
        << QStringList{"delete first row cancel"} << QStringList{"a,l"}
        << QStringList{"light.customProperties()"};
    QTest::newRow("editor destroyed while it runs: nothing written")
        << QStringList{"delete first row destroy"} << QStringList{"a,l"}
        << QStringList{"light.customProperties()"};
    QTest::newRow("second opening shows the edited set")
        << QStringList{"delete first row ok", "ok"} << QStringList{"a,l", "l"}
        << QStringList{"light.customProperties()", "light.setCustomProperty(l, QVariantList , el)",
                       "light.setCustomProperty(a, invalid, )"};
}

void tst_ObjectPropertiesDlg::editsCustomPropertiesInTheirEditor()
{
    QFETCH(QStringList, openings);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, calls);

    Arvel::Light light(&m_log);
    light.preset("id", 5);
    light.presetCustomProperties({
        {QStringLiteral("a"), QVariantList{QStringLiteral("1"), QStringLiteral("ay")}},
        {QStringLiteral("l"), QVariantList{QVariant(QVariantList{1, 2}), QStringLiteral("el")}},
    });
    ObjectPropertiesDlg dialog(nullptr, &light);
    dialog.open();

    QStringList seen;
    QList<ModalDriver::Action> steps;
    for (const QString &opening : openings) {
        steps << [&seen, opening](QWidget *editor) {
            auto *table = part<QTableWidget>(editor, "propsTable");
            seen << rowTexts(table, 1).join(QLatin1Char(','));
            if (opening.startsWith(QLatin1String("delete first row"))) {
                table->setCurrentCell(0, 0);
                QTest::keyClick(table, Qt::Key_Delete);
            }
            if (opening.endsWith(QLatin1String("destroy")))
                delete editor;
            else
                ModalDriver::press(editor, opening.endsWith(QLatin1String("ok"))
                                               ? QDialogButtonBox::Ok
                                               : QDialogButtonBox::Cancel);
        };
    }
    QCOMPARE(runEditorSteps(dialog, QStringLiteral("additionalProps"), steps),
             times(openings.size(), QStringLiteral("CustomPropsEditDlg")));
    QCOMPARE(seen, shown);
    m_log.clear();

    press(dialog, QDialogButtonBox::Ok);

    const int first = m_log.indexOf(QStringLiteral("light.customProperties()"));
    QVERIFY(first >= 0);
    QCOMPARE(m_log.mid(first), calls);
    // The host's list is handed over as the very value it gave.
    QCOMPARE(light.storedCustomProperties().value(QStringLiteral("l")).toList().value(0),
             QVariant(QVariantList{1, 2}));
}

QTEST_MAIN(tst_ObjectPropertiesDlg)
#include "tst_objectpropertiesdlg.moc"
