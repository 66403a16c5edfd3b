#include "controllerexchange.h"
#include "filechooser.h"
#include "formparts.h"
#include "modaldriver.h"
#include "objectform.h"
#include "objectpropertiesdlg.h"
#include "positionpicker.h"
#include "standinhost.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <tuple>

namespace {

// Answers the file dialogs in the user's place and notes what it was asked.
class ScriptedChooser : public FileChooser
{
public:
    QString m_answer;
    QStringList m_asked; // caption, start, filter (files only)

    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        m_asked = QStringList{caption, dir, filter};
        return m_answer;
    }
    QString existingDirectory(QWidget *, const QString &caption, const QString &dir) override
    {
        m_asked = QStringList{caption, dir};
        return m_answer;
    }
};

const QString ReferSent = QStringLiteral("light.sendCommand(QString GET_REFER, int 2)");
const QString DeviceSent =
    QStringLiteral("light.sendCommand(QString GET_DEVICE, QVariantList [int 0, int 17])");
const QString PhasesSent = QStringLiteral("light.sendCommand(QString GET_CLIST, int 16)");
const QString ProgramsSent = QStringLiteral("light.sendCommand(QString GET_CLIST, int 18)");

const QStringList OldPhases = {"4|North|n.svg"};
const QStringList OldPrograms = {"1|Morning"};

// One run of the controller exchange: its steps, answers other than the usual
// and refused commands; then what was sent and what the form, the progress and
// the queue end with. As made, every command is sent, answered and shown.
struct Exchange
{
    QStringList steps{"click", "answer GET_REFER", "answer GET_DEVICE", "answer GET_CLIST 16",
                      "answer GET_CLIST 18"};
    QVariantMap answers; // by key, instead of the usual answer
    QStringList refused;
    QStringList sent{ReferSent, DeviceSent, PhasesSent, ProgramsSent};
    QString descr = QStringLiteral("Crossing");
    QString pos = QStringLiteral("37.5;55.7583333333");
    QStringList phases = OldPhases + QStringList{"5|Phase 5|"};
    QStringList programs = OldPrograms + QStringList{"0|Program 0", "3|Program 3"};
    int shownProgress = -1; // its value while shown, -1 when hidden
    int queued = 0;

    // Neither list was read: the tables show what the light held.
    void listsUnread() { std::tie(phases, programs) = std::tie(OldPhases, OldPrograms); }
};

} // namespace

Q_DECLARE_METATYPE(Exchange)

class tst_ObjectExchange : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsFromController_data();
    void readsFromController();
    void picksPositionOnMap_data();
    void picksPositionOnMap();
    void choosesSchemaFile_data();
    void choosesSchemaFile();
    void importsDrawingFolder_data();
    void importsDrawingFolder();
    void asksThroughQtFileDialog_data();
    void asksThroughQtFileDialog();
    void crashWhenParentIsDeletedWhileDialogIsOpen_data();
    void crashWhenParentIsDeletedWhileDialogIsOpen();

private:
    QStringList m_log;
    ScriptedChooser m_chooser;
};

void tst_ObjectExchange::init()
{
    m_log.clear();
    m_chooser = ScriptedChooser();
    FileChooser::setCurrent(&m_chooser);
}

void tst_ObjectExchange::cleanup()
{
    FileChooser::setCurrent(nullptr);
}

void tst_ObjectExchange::readsFromController_data()
{
    QTest::addColumn<Exchange>("run");

    const auto row = [](const char *tag, const std::function<void(Exchange &)> &change) {
        Exchange run;
        change(run);
        QTest::newRow(tag) << run;
    };

    row("answers in order", [](Exchange &) {});
    row("answers out of order", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "answer GET_CLIST 18",
                                "answer GET_CLIST 16", "answer GET_DEVICE"};
    });
    row("device not recognised", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER"};
        run.answers = {{"GET_REFER", QVariantList{"LT9 gateway", "", " Gate", "5545.5N 3730E"}}};
        run.sent = QStringList{ReferSent};
        run.descr = QStringLiteral("Gate");
        run.listsUnread();
    });
    row("answer of one item", [](Exchange &run) {
        run.answers = {{"GET_REFER", QVariantList{"ARVEL2"}}};
        run.descr = QStringLiteral("Old");
        run.pos = QStringLiteral("1;2");
    });
    row("position in the southern hemisphere", [](Exchange &run) {
        run.answers = {{"GET_REFER", QVariantList{"Arvel2", "", "", "5545.5S 03730E"}}};
        run.descr.clear();
        run.pos = QStringLiteral("1;2");
    });
    // The programs answer comes last and holds no map: the exchange is over
    // all the same.
    row("short lists", [](Exchange &run) {
        run.answers = {{"GET_CLIST 16", QVariantList{16}}, {"GET_CLIST 18", QVariantList{18}}};
        run.listsUnread();
    });
    row("short programs answer ends the exchange", [](Exchange &run) {
        run.steps =
            QStringList{"click", "answer GET_REFER", "answer GET_DEVICE", "answer GET_CLIST 18"};
        run.answers = {{"GET_CLIST 18", QVariantList{18}}};
        run.refused = QStringList{"GET_CLIST 16"};
        run.listsUnread();
    });
    row("first command not sent", [](Exchange &run) {
        run.steps = QStringList{"click"};
        run.refused = QStringList{"GET_REFER"};
        run.sent = QStringList{ReferSent};
        run.descr = QStringLiteral("Old");
        run.pos = QStringLiteral("1;2");
        run.listsUnread();
    });
    row("further command not sent", [](Exchange &run) {
        run.steps =
            QStringList{"click", "answer GET_REFER", "answer GET_DEVICE", "answer GET_CLIST 18"};
        run.refused = QStringList{"GET_CLIST 16"};
        run.phases = OldPhases;
    });
    row("cancelled", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "cancel", "answer GET_CLIST 16"};
        run.listsUnread();
    });
    row("escape on the progress", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "escape", "answer GET_CLIST 18"};
        run.listsUnread();
    });
    row("response deleted by the host", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "delete GET_CLIST 16",
                                "answer GET_DEVICE", "answer GET_CLIST 18"};
        run.phases = OldPhases;
    });
    row("every pending response deleted", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "delete GET_DEVICE",
                                "delete GET_CLIST 16", "delete GET_CLIST 18"};
        run.listsUnread();
    });
    row("answer finished twice", [](Exchange &run) {
        run.steps =
            QStringList{"click", "answer GET_REFER", "answer GET_CLIST 16", "answer GET_CLIST 16"};
        run.programs = OldPrograms;
        run.shownProgress = 2;
        run.queued = 2;
    });
    row("second click keeps pending answers", [](Exchange &run) {
        run.steps = QStringList{"click", "answer GET_REFER", "click", "answer GET_CLIST 16"};
        run.sent << ReferSent;
        run.programs = OldPrograms;
        run.shownProgress = 1;
        run.queued = 3;
    });
    row("same response handed out twice", [](Exchange &run) {
        run.steps = QStringList{"reuse", "click"} + run.steps;
        run.sent.prepend(ReferSent);
    });
}

void tst_ObjectExchange::readsFromController()
{
    QFETCH(const Exchange, run);

    Arvel::Light light(&m_log);
    light.preset("description", QStringLiteral("Old"));
    light.preset("position", QPointF(1, 2));
    light.presetPhase(4, QStringLiteral("North"), QStringLiteral("n.svg"));
    light.presetProgram(1, QStringLiteral("Morning"));
    light.refuseCommands(run.refused);
    QVariantMap answer{
        {"GET_REFER", QVariantList{"Arvel2", "AV-1", " Crossing \n", "5545.500N 03730.000E"}},
        {"GET_DEVICE", QVariantList{"AV-1", 0, "3.17"}},
        {"GET_CLIST 16", QVariantList{16, QByteArray("\xFF\xFF\x12", 3)}},
        {"GET_CLIST 18", QVariantList{18, QByteArray("\x3F\xF1", 2)}}};
    for (auto it = run.answers.cbegin(); it != run.answers.cend(); ++it)
        answer.insert(it.key(), it.value());

    ObjectPropertiesDlg dialog(nullptr, &light);
    dialog.show();
    const ObjectForm ui(&dialog);
    auto *progress = dialog.findChild<QProgressDialog *>();
    auto *exchange = dialog.findChild<ControllerExchange *>();
    QVERIFY(ui.complete() && progress && exchange);
    QProgressDialog &progressDialog = *progress;
    QList<QPointer<Response>> cancelled;
    m_log.clear();

    for (const QString &step : run.steps) {
        const QString key = step.section(QLatin1Char(' '), 1);
        Response *response = light.response(key);
        if (step == QLatin1String("reuse")) {
            light.reuseResponses();
        } else if (step == QLatin1String("click")) {
            press(dialog, "fromController");
        } else if (step == QLatin1String("cancel") || step == QLatin1String("escape")) {
            for (const QPointer<Response> &pending : light.responses()) {
                if (pending && pending->data().isEmpty())
                    cancelled.append(pending);
            }
            if (step == QLatin1String("cancel")) {
                auto *button = progressDialog.findChild<QPushButton *>();
                QVERIFY(button);
                button->click();
            } else {
                QTest::keyClick(&progressDialog, Qt::Key_Escape);
            }
        } else if (step.startsWith(QLatin1String("answer "))) {
            QVERIFY2(response, qPrintable(step));
            response->finish(answer.value(key).toList());
        } else if (step.startsWith(QLatin1String("delete "))) {
            QVERIFY2(response, qPrintable(step));
            delete response;
        }
    }

    QCOMPARE(m_log, run.sent);
    QCOMPARE(ui.descr->text(), run.descr);
    QCOMPARE(ui.pos->text(), run.pos);
    QCOMPARE(rowTexts(ui.phases), run.phases);
    QCOMPARE(rowTexts(ui.programs), run.programs);
    QCOMPARE(progressDialog.isVisible() ? progressDialog.value() : -1, run.shownProgress);
    QCOMPARE(exchange->pending(), run.queued);
    // Responses given up on are disposed of, answered or not.
    for (const QPointer<Response> &response : cancelled)
        QTRY_VERIFY(response.isNull());
}

void tst_ObjectExchange::picksPositionOnMap_data()
{
    QTest::addColumn<QString>("scene"); // "scene", "none" or "object"
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("pos");
    QTest::addColumn<bool>("picking"); // after the steps and any stop
    QTest::addColumn<bool>("shown");   // once the pick is over

    QTest::newRow("plain left click")
        << "scene" << QStringList{"left 10.5 -3.25"} << "10.5;-3.25" << false << true;
    QTest::newRow("right click") << "scene" << QStringList{"right 5 5"} << "1;2" << true << false;
    QTest::newRow("left click with Shift")
        << "scene" << QStringList{"shift 5 5"} << "1;2" << true << false;
    QTest::newRow("escape") << "scene" << QStringList{"escape"} << "1;2" << false << true;
    QTest::newRow("escape with Control")
        << "scene" << QStringList{"ctrl-escape"} << "1;2" << true << false;
    // The view shows the scene from (10, 20) to (210, 120).
    QTest::newRow("enter") << "scene" << QStringList{"enter"} << "110;70" << false << true;
    QTest::newRow("enter with Shift")
        << "scene" << QStringList{"shift-enter"} << "1;2" << true << false;
    QTest::newRow("escape and click stop once")
        << "scene" << QStringList{"escape", "left 3 4"} << "3;4" << false << true;
    QTest::newRow("two clicks stop once")
        << "scene" << QStringList{"left 3 4", "left 7 8"} << "7;8" << false << true;
    QTest::newRow("scene destroyed")
        << "scene" << QStringList{"delete scene"} << "1;2" << false << true;
    // The dialog closes with its object; it is not shown again.
    QTest::newRow("object destroyed")
        << "scene" << QStringList{"delete light"} << "1;2" << false << false;
    QTest::newRow("dialog destroyed")
        << "scene" << QStringList{"delete dialog"} << "" << false << false;
    QTest::newRow("no scene") << "none" << QStringList{} << "1;2" << false << true;
    QTest::newRow("object that is no scene") << "object" << QStringList{} << "1;2" << false << true;
}

void tst_ObjectExchange::picksPositionOnMap()
{
    QFETCH(QString, scene);
    QFETCH(QStringList, steps);
    QFETCH(QString, pos);
    QFETCH(bool, picking);
    QFETCH(bool, shown);

    // A cursor of the host's below ours: a second pop would take it away.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto *map = new Scene;
    QPointer<QGraphicsScene> guard(map);
    QObject notAScene;
    QPointer<Arvel::Light> light = new Arvel::Light(&m_log);
    light->preset("position", QPointF(1, 2));
    if (scene == QLatin1String("scene"))
        light->preset("scene", QVariant::fromValue(map));
    else if (scene == QLatin1String("object"))
        light->preset("scene", QVariant::fromValue(&notAScene));
    QGraphicsView view(map);
    view.setSceneRect(10, 20, 200, 100);
    view.setFrameShape(QFrame::NoFrame);
    view.setFixedSize(200, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    view.clearFocus();
    auto dialog = std::make_unique<ObjectPropertiesDlg>(nullptr, light.data());
    QPointer<ObjectPropertiesDlg> alive(dialog.get());
    dialog->show();
    QLineEdit *posEdit = ObjectForm(dialog.get()).pos;
    auto *picker = dialog->findChild<PositionPicker *>();
    QVERIFY(posEdit && picker);

    int sent = 0;
    auto press = [map, &sent](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) {
        QGraphicsSceneMouseEvent event(QEvent::GraphicsSceneMousePress);
        event.setButton(button);
        event.setButtons(button);
        event.setModifiers(modifiers);
        event.setScenePos(at);
        QApplication::sendEvent(map, &event);
        ++sent;
    };

    part<QPushButton>(dialog.get(), "selectPos")->click();
    const bool started = scene == QLatin1String("scene");
    QCOMPARE(dialog->isVisible(), !started);
    QCOMPARE(overrideCursorShape(), int(started ? Qt::CrossCursor : Qt::WaitCursor));
    // The map takes the keys.
    QCOMPARE(view.focusWidget() == &view, started);

    for (const QString &step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QPointF at =
            words.size() == 3 ? QPointF(words.at(1).toDouble(), words.at(2).toDouble()) : QPointF();
        if (words.first() == QLatin1String("left"))
            press(Qt::LeftButton, Qt::NoModifier, at);
        else if (words.first() == QLatin1String("right"))
            press(Qt::RightButton, Qt::NoModifier, at);
        else if (words.first() == QLatin1String("shift"))
            press(Qt::LeftButton, Qt::ShiftModifier, at);
        else if (step == QLatin1String("escape") || step == QLatin1String("ctrl-escape")) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape,
                          step == QLatin1String("escape") ? Qt::NoModifier : Qt::ControlModifier);
            QApplication::sendEvent(map, &key);
            ++sent;
        } else if (step.endsWith(QLatin1String("enter"))) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Return,
                          step == QLatin1String("enter") ? Qt::NoModifier : Qt::ShiftModifier);
            QApplication::sendEvent(map, &key);
            ++sent;
        } else if (step == QLatin1String("delete scene"))
            delete map;
        else if (step == QLatin1String("delete light"))
            delete light;
        else if (step == QLatin1String("delete dialog"))
            dialog.reset();
    }

    if (alive) {
        QCOMPARE(posEdit->text(), pos);
        if (!picking)
            QTRY_VERIFY(!picker->isPicking());
        QCOMPARE(picker->isPicking(), picking);
        QCOMPARE(alive->isVisible(), shown);
    }
    QCOMPARE(overrideCursorShape(), int(picking ? Qt::CrossCursor : Qt::WaitCursor));

    if (guard) {
        // Once over, clicks on the map change nothing; while picking they do.
        press(Qt::LeftButton, Qt::NoModifier, QPointF(99, 99));
        if (alive)
            QCOMPARE(posEdit->text(), picking ? QStringLiteral("99;99") : pos);
        // The map got every event: none was swallowed.
        QCOMPARE(map->presses(), sent);
    }
    if (picking) {
        QTRY_VERIFY(!picker->isPicking());
        QVERIFY(alive->isVisible());
    }
    QCOMPARE(overrideCursorShape(), int(Qt::WaitCursor));
    QApplication::restoreOverrideCursor();
    QCOMPARE(overrideCursorShape(), -1);
    dialog.reset();
    delete guard.data();
    delete light.data();
}

void tst_ObjectExchange::choosesSchemaFile_data()
{
    QTest::addColumn<QString>("baseDir");
    QTest::addColumn<int>("selectedRow"); // -2: the button; -1: the action with nothing selected
    QTest::addColumn<QString>("text");    // of the target before
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("start"); // "-": not asked
    QTest::addColumn<QString>("shown");

    const struct
    {
        const char *tag, *baseDir;
        int selectedRow;
        const char *text, *answer, *start, *shown;
    } rows[] = {
        {"no base folder keeps the path", "", -2, "", "/data/proj/x/main.svg", "",
         "/data/proj/x/main.svg"},
        {"inside the base folder", "/data/proj", -2, "", "/data/proj/x/main.svg", "/data/proj",
         "x/main.svg"},
        {"beside the base folder", "/data/proj", -2, "", "/data/other/a.svg", "/data/proj",
         "../other/a.svg"},
        {"starts at the current file", "/data/proj", -2, "x/old.svg", "/data/proj/y.svg",
         "/data/proj/x/old.svg", "y.svg"},
        {"cancelled", "/data/proj", -2, "x/old.svg", "", "/data/proj/x/old.svg", "x/old.svg"},
        {"phase row of the first selected cell", "/data/proj", 1, "", "/data/proj/p.svg",
         "/data/proj", "p.svg"},
        {"phase row with a schema", "/data/proj", 0, "n.svg", "/data/proj/p.svg",
         "/data/proj/n.svg", "p.svg"},
        {"action with nothing selected", "/data/proj", -1, "", "/data/proj/p.svg", "-", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.tag) << QString(row.baseDir) << row.selectedRow << QString(row.text)
                               << QString(row.answer) << QString(row.start) << QString(row.shown);
}

void tst_ObjectExchange::choosesSchemaFile()
{
    QFETCH(QString, baseDir);
    QFETCH(int, selectedRow);
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(QString, start);
    QFETCH(QString, shown);

    Arvel::Project project(&m_log);
    project.preset("baseDir", baseDir);
    auto *light = new Arvel::Light(&m_log, &project);
    light->presetPhase(1, QStringLiteral("North"), QString());
    light->presetPhase(2, QStringLiteral("South"), QString());
    ObjectPropertiesDlg dialog(nullptr, light);
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    QTableWidget *table = ui.phases;
    m_chooser.m_answer = answer;

    QLineEdit *schema = ui.schema;
    if (selectedRow == -2) {
        schema->setText(text);
        press(dialog, "selSchema");
    } else {
        if (selectedRow >= 0) {
            table->item(selectedRow, 2)->setText(text);
            // The first cell in the selection list decides, not the topmost.
            table->setCurrentCell(selectedRow, 1, QItemSelectionModel::Select);
            table->setCurrentCell(1 - selectedRow, 0, QItemSelectionModel::Select);
        }
        QCOMPARE(table->actions().size(), 1);
        table->actions().first()->trigger();
    }

    if (start == QLatin1String("-")) {
        QVERIFY(m_chooser.m_asked.isEmpty());
    } else {
        QCOMPARE(m_chooser.m_asked,
                 (QStringList{"Select schema file for the Object", start,
                              "Supported formats (*.wmf *.emf *.svg);;All files (*.*)"}));
    }
    if (selectedRow == -2) {
        QCOMPARE(schema->text(), shown);
    } else {
        QVERIFY(schema->text().isEmpty());
        for (int row = 0; row < 2; ++row)
            QCOMPARE(table->item(row, 2)->text(), row == selectedRow ? shown : QString());
    }
}

void tst_ObjectExchange::importsDrawingFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("inBaseDir"); // else the project has no base folder
    QTest::addColumn<QString>("text");   // of the schema field before
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("schema"); // "<dir>" stands for the drawing folder
    QTest::addColumn<QStringList>("phases");

    const QStringList before = {"7|Old|old.svg"};
    QTest::newRow("phases in name order")
        << QStringList{"phase2.svg", "phase10.svg", "phase1.svg", "main.svg"} << true << "" << false
        << "d/main.svg"
        << QStringList{"1|Phase 1|d/phase1.svg", "10|Phase 10|d/phase10.svg",
                       "2|Phase 2|d/phase2.svg"};
    QTest::newRow("unnumbered file leaves no gap")
        << QStringList{"phase-x.svg", "phase3.svg", "Phase4.SVG", "bg.wmf", "bg.svg"} << true << ""
        << false << "d/bg.svg" << QStringList{"3|Phase 3|d/phase3.svg", "4|Phase 4|d/Phase4.SVG"};
    QTest::newRow("only an unnumbered phase file")
        << QStringList{"phase.svg"} << true << "" << false << "" << QStringList{};
    // Sized over every row: the widest name decides, wherever it is; a line
    // separator in a name is measured on its own.
    QTest::newRow("names of different widths")
        << QStringList{"phase7.svg", "phase10000000.svg", "phase9.\u2028.svg"} << true << ""
        << false << ""
        << QStringList{"10000000|Phase 10000000|d/phase10000000.svg", "7|Phase 7|d/phase7.svg",
                       "9|Phase 9|d/phase9.\u2028.svg"};
    QTest::newRow("no phase files keep the rows")
        << QStringList{"main.emf", "bg.svg"} << true << "" << false << "d/main.emf" << before;
    QTest::newRow("no base folder gives absolute paths")
        << QStringList{"phase5.svg", "bg.emf"} << false << "" << false << "<dir>/bg.emf"
        << QStringList{"5|Phase 5|<dir>/phase5.svg"};
    QTest::newRow("starts at the schema path")
        << QStringList{"phase5.svg"} << true << "d/gone.svg" << true << "d/gone.svg" << before;
}

void tst_ObjectExchange::importsDrawingFolder()
{
    QFETCH(QStringList, files);
    QFETCH(bool, inBaseDir);
    QFETCH(QString, text);
    QFETCH(bool, cancel);
    QFETCH(QString, schema);
    QFETCH(QStringList, phases);

    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QDir baseDir(base.path());
    QVERIFY(baseDir.mkdir(QStringLiteral("d")));
    const QString folder = baseDir.absoluteFilePath(QStringLiteral("d"));
    for (const QString &file : files) {
        QFile created(folder + QLatin1Char('/') + file);
        QVERIFY(created.open(QIODevice::WriteOnly));
    }

    Arvel::Project project(&m_log);
    if (inBaseDir)
        project.preset("baseDir", baseDir.absolutePath());
    auto *light = new Arvel::Light(&m_log, &project);
    light->presetPhase(7, QStringLiteral("Old"), QStringLiteral("old.svg"));
    light->presetProgram(1, QStringLiteral("Morning"));
    ObjectPropertiesDlg dialog(nullptr, light);
    dialog.show();
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    ui.schema->setText(text);
    m_chooser.m_answer = cancel ? QString() : folder;

    press(dialog, "importFromFolder");

    const QString start = text.isEmpty() ? (inBaseDir ? baseDir.absolutePath() : QString())
                                         : baseDir.absoluteFilePath(text);
    QCOMPARE(m_chooser.m_asked, (QStringList{"Select folder to import", start}));
    QCOMPARE(ui.schema->text(), QString(schema).replace("<dir>", folder));
    QCOMPARE(rowTexts(ui.phases), phases.replaceInStrings(QStringLiteral("<dir>"), folder));
    QCOMPARE(rowTexts(ui.programs), QStringList{"1|Morning"});

    // An imported table is sized as Qt sizes every column and row to its
    // contents when told to look at all rows.
    QTableWidget *table = ui.phases;
    if (phases == QStringList{"7|Old|old.svg"})
        return;
    const QAbstractItemView *view = table; // the size hints are public there
    QHeaderView *header = table->horizontalHeader();
    header->setResizeContentsPrecision(-1);
    for (int column = 0; column < table->columnCount(); ++column)
        QCOMPARE(table->columnWidth(column),
                 qMax(view->sizeHintForColumn(column), header->sectionSizeHint(column)));
    for (int row = 0; row < table->rowCount(); ++row)
        QCOMPARE(table->rowHeight(row),
                 qMax(view->sizeHintForRow(row), table->verticalHeader()->sectionSizeHint(row)));
}

void tst_ObjectExchange::asksThroughQtFileDialog_data()
{
    // The schema field before, where the dialog starts, what is typed into its
    // name field (which starts empty) and the schema field after.
    for (const char *column : {"button", "title", "shown", "folder", "typed", "schema"})
        QTest::addColumn<QString>(column);
    const char *const rows[][7] = {
        {"schema file", "selSchema", "Select schema file for the Object", "", ".", "x.svg",
         "x.svg"},
        // Started on the drawing, the folder chooser would offer its file
        // name, which it then refuses.
        {"drawing folder", "importFromFolder", "Select folder to import", "d/old.svg", "d", "",
         "d/main.svg"},
    };
    for (const auto &row : rows) {
        QTestData &data = QTest::newRow(row[0]);
        for (int i = 1; i < 7; ++i)
            data << QString::fromLatin1(row[i]);
    }
}

// Without a chooser of its own the dialog asks through Qt's file dialog.
void tst_ObjectExchange::asksThroughQtFileDialog()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QFETCH(QString, folder);
    QFETCH(QString, typed);
    QFETCH(QString, schema);

    FileChooser::setCurrent(nullptr);
    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("d")));
    for (const char *name : {"x.svg", "d/old.svg", "d/main.svg"}) {
        QFile file(base.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    Arvel::Project project(&m_log);
    project.preset("baseDir", base.path());
    auto *light = new Arvel::Light(&m_log, &project);
    ObjectPropertiesDlg dialog(nullptr, light);
    dialog.show();
    const ObjectForm ui(&dialog);
    QVERIFY(ui.complete());
    ui.schema->setText(shown);

    QString nameShown, start;
    QSize size;
    const ModalDriver driver([&](QWidget *window) {
        auto *name = part<QLineEdit>(window, "fileNameEdit");
        if (name) {
            nameShown = name->text();
            if (!typed.isEmpty())
                name->setText(base.filePath(typed));
        }
        start = static_cast<QFileDialog *>(window)->directory().path();
        size = window->size();
        static_cast<QDialog *>(window)->accept();
    });
    press(dialog, qPrintable(button));

    QCOMPARE(nameShown, QString());
    QVERIFY(!driver.gaveUp());
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().className, QStringLiteral("QFileDialog"));
    QCOMPARE(driver.seen().first().title, title);
    QVERIFY2(QDir(start) == QDir(base.filePath(folder)), qPrintable(start));
    // Qt's 630 x 415 cuts the columns; a larger size stays on the screen.
    QCOMPARE(size.expandedTo(QSize(800, 500)), size);
    QCOMPARE(size.boundedTo(dialog.screen()->availableGeometry().size()), size);
    QCOMPARE(ui.schema->text(), schema);
}

void tst_ObjectExchange::crashWhenParentIsDeletedWhileDialogIsOpen_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialogClass");

    // Button of the object dialog, then the dialog it opens.
    const char *const rows[][3] = {
        {"schema file", "selSchema", "QFileDialog"},
        {"drawing folder", "importFromFolder", "QFileDialog"},
        {"Error box", "buttonBox", "QMessageBox"},
        {"events mask editor", "changeEventsMask", "EventsMaskDialog"},
        {"custom properties editor", "additionalProps", "CustomPropsEditDlg"},
        // Shown and modal, it processes events while it takes a value.
        {"exchange progress", "fromController", "QProgressDialog"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2]);
}

// The host may delete its main window, and the object dialog with it, while a
// dialog opened from the object dialog runs: both go, and nothing touches them
// afterwards.
void tst_ObjectExchange::crashWhenParentIsDeletedWhileDialogIsOpen()
{
    QFETCH(QString, button);
    QFETCH(QString, dialogClass);

    FileChooser::setCurrent(nullptr);
    Arvel::Light light(&m_log); // no identifier: OK shows an "Error"
    light.preset("eventMask", 0x21u);
    QPointer<QMainWindow> mainWindow = new QMainWindow;
    mainWindow->show();
    QPointer<ObjectPropertiesDlg> dialog = new ObjectPropertiesDlg(mainWindow, &light);
    dialog->open();
    // Acts in the next event loop: that of the dialog open then (the progress
    // dialog) or of the one that opens next.
    std::unique_ptr<ModalDriver> driver;
    const auto deleteMainWindowSoon = [&driver, &mainWindow] {
        driver = std::make_unique<ModalDriver>([&mainWindow](QWidget *) { delete mainWindow; },
                                               ModalDriver::Open::Driven);
    };

    if (button == QLatin1String("fromController")) {
        dialog->findChild<QProgressDialog *>()->setMinimumDuration(0); // shown at the 1st answer
        press(*dialog, "fromController");
        for (const char *key : {"GET_REFER", "GET_DEVICE", "GET_CLIST 16", "GET_CLIST 18"}) {
            // The last answer takes it to its end, where it resets itself.
            if (qstrcmp(key, "GET_CLIST 18") == 0)
                deleteMainWindowSoon();
            light.response(QString::fromLatin1(key))->finish({"Arvel2"});
        }
    } else {
        deleteMainWindowSoon();
        if (button == QLatin1String("buttonBox"))
            press(*dialog, QDialogButtonBox::Ok);
        else
            press(*dialog, qPrintable(button));
    }

    QVERIFY(mainWindow.isNull());
    QVERIFY(dialog.isNull());
    QVERIFY(driver && !driver->seen().isEmpty());
    QCOMPARE(driver->seen().first().className, dialogClass);
}

QTEST_MAIN(tst_ObjectExchange)
#include "tst_objectexchange.moc"
