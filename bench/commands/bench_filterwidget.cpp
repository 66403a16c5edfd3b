// Opening the console output filter: FilterWidget::setFilters on three
// recognised filters (96 Python evaluations, one per check box) against what
// it cannot avoid: the same 96 texts evaluated directly through the Python
// layer, and 96 bare check boxes with the same names and tool tips laid out
// in three grids and set from those results, in one loop. Its two halves are
// also set against their own bare halves; and the time to open the whole
// project properties dialog.
//
// Times are the GUI thread's CPU time, medians over the rounds: on a shared
// machine wall-clock samples jump by whole scheduler ticks whenever another
// process takes the core. The shown dialog is also given in wall-clock time.
// Each round times the bare work and the widget in turn, and a ratio is the
// median of the rounds' own ratios (Bench::Pairs).
//
// Usage: bench_filterwidget [rounds]   (offscreen unless QT_QPA_PLATFORM is set)

#include "benchsupport.h"
#include "commandtables.h"
#include "filterexpression.h"
#include "filterwidget.h"
#include "projectpropertiesdlg.h"
#include "standinhost.h"

#include <PythonQt.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

namespace {

using FilterExpression::Kind;

const QString filters[3] = {
    QStringLiteral("request.command in (0x1000,0x1100,0x1105,0x10001010,)"),
    QStringLiteral("resp.request.command in (0x1101,0x1300,)"),
    QStringLiteral("notify.id in (0x0,0x1,0x4,)"),
};

// CPU time of the calling thread.
class CpuTimer
{
public:
    void start() { m_start = now(); }
    double ms() const { return now() - m_start; }

private:
    static double now() { return Bench::threadCpuMs(); }
    double m_start = 0;
};

// Three panels with empty grids, as the widget's form has them before
// setFilters.
struct BarePanels
{
    BarePanels()
    {
        for (QWidget &panel : panels)
            grids.push_back(new QGridLayout(&panel));
    }

    QWidget panels[3];
    std::vector<QGridLayout *> grids;
};

// Adds box i of a panel where the widget puts it: 12 rows by 4 columns,
// filled column by column.
void addBareBox(BarePanels &bare, int panel, int i, const CommandDesc &row, bool checked)
{
    auto *box = new QCheckBox(&bare.panels[panel]);
    box->setText(row.name);
    box->setToolTip(row.description);
    box->setChecked(checked);
    bare.grids[panel]->addWidget(box, i % 12, i / 12);
}

} // namespace

int main(int argc, char **argv)
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    Bench::quietOffscreenWarnings();
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 100;

    PythonQt::init();
    PythonQt *python = PythonQt::self();
    if (!python) {
        std::fprintf(stderr, "no Python interpreter\n");
        return 1;
    }
    PythonQtObjectPtr main = python->getMainModule();
    PythonQtObjectPtr arvel = python->createModuleFromScript(
        QStringLiteral("arvel"), QStringLiteral("class _M: pass\nav_module = _M()\n"));
    const char *const attributes[] = {"requestFilter", "responseFilter", "notificationFilter"};
    for (int i = 0; i < 3; ++i) {
        arvel.addVariable(QStringLiteral("_text"), filters[i]);
        arvel.evalScript(QStringLiteral("av_module.%1 = _text\n").arg(attributes[i]));
    }

    // The texts that setFilters evaluates, one per check box, with the panel
    // and the row of the box.
    QStringList texts;
    std::vector<std::pair<int, CommandDesc>> boxes;
    const Kind kinds[] = {Kind::Request, Kind::Response, Kind::Notification};
    for (int i = 0; i < 3; ++i) {
        const QString pattern = FilterExpression::read(kinds[i], filters[i]).pattern;
        const QList<CommandDesc> rows = kinds[i] == Kind::Notification
                                            ? CommandTables::notifications()
                                            : CommandTables::requests();
        for (const CommandDesc &row : rows) {
            texts << FilterExpression::testFor(pattern, row.code);
            boxes.emplace_back(i, row);
        }
    }

    Arvel::Connection connection(nullptr);
    connection.preset("remoteHost", QStringLiteral("ctl.example"));
    connection.preset("remotePort", 4000);
    Arvel::Project project(nullptr);
    project.preset("title", QStringLiteral("North district"));
    project.preset("fileName", QStringLiteral("/projects/north/north.avp"));
    project.preset("connection", QVariant::fromValue<QObject *>(&connection));

    // setFilters against the baseline; its two halves against their own bare
    // halves.
    Bench::Pairs reading, gridsOnly, checksOnly;
    std::vector<double> building, opening, openingShown, openingWall;
    int checked = 0;
    for (int round = 0; round < rounds; ++round) {
        CpuTimer timer;
        timer.start();
        for (const QString &text : texts)
            checked += python->evalScript(main, text, Py_eval_input).toBool();
        const double bare = timer.ms();
        double bareBoxes = 0;
        {
            BarePanels panels;
            timer.start();
            int i = 0;
            for (const auto &box : boxes) {
                const int first = box.first * 40; // panels of 40, 40 and 16 boxes
                addBareBox(panels, box.first, i - first, box.second, false);
                ++i;
            }
            bareBoxes = timer.ms();
        }
        double baseline = 0;
        {
            BarePanels panels;
            timer.start();
            int i = 0;
            for (const auto &box : boxes) {
                const int first = box.first * 40; // panels of 40, 40 and 16 boxes
                const bool result = python->evalScript(main, texts.at(i), Py_eval_input).toBool();
                addBareBox(panels, box.first, i - first, box.second, result);
                ++i;
            }
            baseline = timer.ms();
        }

        {
            FilterWidget widget;
            timer.start();
            widget.setFilters(filters[0], filters[1], filters[2]);
            reading.add(timer.ms(), baseline);
            timer.start();
            widget.buildFilters();
            building.push_back(timer.ms());
        }

        {
            // The two halves of setFilters: building the 96 boxes, and setting
            // them from Python on grids built beforehand.
            FilterWidget widget;
            const char *const grids[] = {"gridLayout", "gridLayout_2", "gridLayout_3"};
            timer.start();
            for (int i = 0; i < 3; ++i)
                widget.fillGrid(i == 2 ? widget.notifications() : widget.commands(),
                                widget.findChild<QGridLayout *>(QLatin1String(grids[i])));
            gridsOnly.add(timer.ms(), bareBoxes);
            timer.start();
            widget.setFilters(filters[0], filters[1], filters[2]);
            checksOnly.add(timer.ms(), bare);
        }

        QElapsedTimer wall;
        wall.start();
        timer.start();
        {
            ProjectPropertiesDlg dialog(nullptr, &project);
            opening.push_back(timer.ms());
            dialog.show();
            QCoreApplication::processEvents();
            openingShown.push_back(timer.ms());
            openingWall.push_back(wall.nsecsElapsed() / 1e6);
        }
    }
    QCoreApplication::processEvents();

    QTextStream out(stdout);
    out << "thread CPU time, medians of " << rounds
        << " rounds; evaluations per round: " << texts.size()
        << ", true results per round: " << checked / rounds
        << "; ratios are medians of the rounds' paired ratios (middle half in brackets)\n";
    out << QString::asprintf("bare evaluations (96):              %8.3f ms\n", checksOnly.bare());
    out << QString::asprintf("bare check boxes (96, three grids): %8.3f ms\n", gridsOnly.bare());
    out << QString::asprintf("baseline, the two in one loop:      %8.3f ms\n", reading.bare());
    out << QString::asprintf("FilterWidget::setFilters:           %8.3f ms  ratio %s"
                             " (goal <= 1.2)\n",
                             reading.measured(), qPrintable(reading.ratioText()));
    out << QString::asprintf("  the 96 check boxes alone:         %8.3f ms  ratio %s"
                             " to the bare boxes\n",
                             gridsOnly.measured(), qPrintable(gridsOnly.ratioText()));
    out << QString::asprintf("  setFilters, boxes pre-built:      %8.3f ms  ratio %s"
                             " to the bare evaluations\n",
                             checksOnly.measured(), qPrintable(checksOnly.ratioText()));
    out << QString::asprintf("FilterWidget::buildFilters:         %8.3f ms\n",
                             Bench::median(building));
    out << QString::asprintf("ProjectPropertiesDlg built:         %8.3f ms\n",
                             Bench::median(opening));
    out << QString::asprintf("ProjectPropertiesDlg shown:         %8.3f ms  (goal < 50)\n",
                             Bench::median(openingShown));
    out << QString::asprintf("  the same, wall clock:             %8.3f ms\n",
                             Bench::median(openingWall));
    out.flush();

    PythonQt::cleanup();
    return 0;
}
