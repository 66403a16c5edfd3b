// Where the object dialog's time goes. The dialog is built on controllers
// with 1,000 and 10,000 phases and programs, and in the same run on one with
// none: the empty dialog is the fixed cost of the form, and what a filled
// dialog costs beyond it, divided by the number of rows, is the cost per row
// (one phase and one program), set against filling two bare QTableWidgets
// with the same texts. Opened, shown and sized, the dialog is set against the
// bare tables filled, shown and sized the same way. Applying it unchanged is
// reported too.
//
// Times are the GUI thread's CPU time, medians over the runs: on a shared
// machine wall-clock samples jump by whole scheduler ticks whenever another
// process takes the core. Each run times the bare tables and the dialogs in
// turn, and a ratio is the median of the runs' own ratios (Bench::Pairs); a
// first run of each size is not counted.
//
// Usage: bench_objectdialog [runs]   (offscreen unless QT_QPA_PLATFORM is set)

#include "benchsupport.h"
#include "hostcontract.h"
#include "objectpropertiesdlg.h"
#include "standinhost.h"

#include <QApplication>
#include <QPointF>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// A controller of `count` phases and programs in a project.
Arvel::Light *makeLight(int count, Arvel::Project *project)
{
    project->preset("baseDir", QStringLiteral("/data/proj"));
    auto *light = new Arvel::Light(nullptr, project);
    light->preset("id", 42);
    light->preset("type", QStringLiteral("Arvel2"));
    light->preset("description", QStringLiteral("Crossing"));
    light->preset("position", QPointF(37.5, 55.75));
    light->preset("shema", QStringLiteral("/data/proj/schemas/main.svg"));
    light->preset("RcdControl", 1);
    for (int i = 0; i < count; ++i) {
        light->presetPhase(i + 1, QStringLiteral("Phase %1").arg(i + 1),
                           QStringLiteral("/data/proj/schemas/phase%1.svg").arg(i + 1));
        light->presetProgram(i + 1, QStringLiteral("Program %1").arg(i + 1));
    }
    return light;
}

// The texts the dialog shows, taken out beforehand: the bare fill does no
// host reads and no path conversion.
struct Texts
{
    explicit Texts(int count)
    {
        for (int i = 0; i < count; ++i) {
            phaseIds.append(QString::number(i + 1));
            phaseDescriptions.append(QStringLiteral("Phase %1").arg(i + 1));
            phaseSchemas.append(QStringLiteral("schemas/phase%1.svg").arg(i + 1));
            programIds.append(QString::number(i + 1));
            programDescriptions.append(QStringLiteral("Program %1").arg(i + 1));
        }
    }

    QStringList phaseIds, phaseDescriptions, phaseSchemas, programIds, programDescriptions;
};

// Filling tables the plain way: rows first, then an item per cell.
void bareFill(QTableWidget *phases, QTableWidget *programs, const Texts &texts)
{
    const int count = texts.phaseIds.size();
    phases->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        phases->setItem(row, 0, new QTableWidgetItem(texts.phaseIds.at(row)));
        phases->setItem(row, 1, new QTableWidgetItem(texts.phaseDescriptions.at(row)));
        phases->setItem(row, 2, new QTableWidgetItem(texts.phaseSchemas.at(row)));
    }
    programs->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        programs->setItem(row, 0, new QTableWidgetItem(texts.programIds.at(row)));
        programs->setItem(row, 1, new QTableWidgetItem(texts.programDescriptions.at(row)));
    }
}

// One size's figures.
struct Figures
{
    int count = 0;
    Bench::Pairs perRow;           // dialog built and filled minus the empty dialog, against
                                   // two bare tables filled (built beforehand); per row
    Bench::Pairs shown;            // the same opened, shown and sized, against the bare tables
    std::vector<double> form;      // the empty dialog built
    std::vector<double> formShown; // the empty dialog built, opened, shown and sized
    std::vector<double> reads;     // the host reads alone: five properties, as text
    std::vector<double> applied;   // dialog applied unchanged
};

// One size: the host reads, the bare tables, the empty dialog and the filled
// dialog take turns in every run, and each run gives one pair of each ratio.
// A first run, not counted, warms the allocator and the caches up. The form's
// cost taken off the filled dialog is its median over the runs, so that its
// own jitter does not enter every pair.
bool measure(int count, int runs, Figures *figures, QTextStream &out)
{
    Arvel::Project project(nullptr);
    Arvel::Light *light = makeLight(count, &project);
    Arvel::Light *emptyLight = makeLight(0, &project);
    const Texts texts(count);
    figures->count = count;
    std::vector<double> bareFilled, bareShown, built, opened;
    int characters = 0;
    for (int run = 0; run <= runs; ++run) {
        const bool counted = run > 0;
        {
            // What the dialog reads from the host that the bare fill is given.
            const double start = Bench::threadCpuMs();
            for (const QObject *phase : light->phaseList()) {
                characters += HostCall::read(phase, Host::Item::Id).toString().size()
                              + HostCall::read(phase, Host::Item::Description).toString().size()
                              + HostCall::read(phase, Host::Item::Schema).toString().size();
            }
            for (const QObject *program : light->programList()) {
                characters += HostCall::read(program, Host::Item::Id).toString().size()
                              + HostCall::read(program, Host::Item::Description).toString().size();
            }
            if (counted)
                figures->reads.push_back(Bench::threadCpuMs() - start);
        }
        {
            QTableWidget phases(0, 3);
            QTableWidget programs(0, 2);
            const double start = Bench::threadCpuMs();
            bareFill(&phases, &programs, texts);
            const double filled = Bench::threadCpuMs() - start;
            // The sizing the dialog does once it is shown.
            phases.show();
            programs.show();
            phases.resizeColumnsToContents();
            phases.resizeRowsToContents();
            programs.resizeColumnsToContents();
            programs.resizeRowsToContents();
            QCoreApplication::processEvents();
            if (counted) {
                bareFilled.push_back(filled);
                bareShown.push_back(Bench::threadCpuMs() - start);
            }
        }
        QCoreApplication::processEvents();
        {
            const double start = Bench::threadCpuMs();
            ObjectPropertiesDlg form(nullptr, emptyLight);
            const double formBuilt = Bench::threadCpuMs() - start;
            form.open();
            QCoreApplication::processEvents();
            if (counted) {
                figures->form.push_back(formBuilt);
                figures->formShown.push_back(Bench::threadCpuMs() - start);
            }
        }
        QCoreApplication::processEvents();
        {
            double start = Bench::threadCpuMs();
            ObjectPropertiesDlg dialog(nullptr, light);
            const double dialogBuilt = Bench::threadCpuMs() - start;
            // Shown, with the queued sizing done.
            dialog.open();
            QCoreApplication::processEvents();
            const double dialogOpened = Bench::threadCpuMs() - start;

            start = Bench::threadCpuMs();
            dialog.accept();
            if (counted) {
                built.push_back(dialogBuilt);
                opened.push_back(dialogOpened);
                figures->applied.push_back(Bench::threadCpuMs() - start);
            }
            if (dialog.result() != QDialog::Accepted || light->phaseList().size() != count
                || light->programList().size() != count) {
                out << "apply did not complete with " << count << " rows\n";
                return false;
            }
        }
        QCoreApplication::processEvents();
    }
    if (characters == 0) {
        out << "the host reads gave no texts\n";
        return false;
    }
    const double form = Bench::median(figures->form);
    for (int run = 0; run < runs; ++run) {
        figures->perRow.add((built[run] - form) / count, bareFilled[run] / count);
        figures->shown.add(opened[run], bareShown[run]);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    Bench::quietOffscreenWarnings();
    QTextStream out(stdout);
    const int runs = argc > 1 ? qMax(1, std::atoi(argv[1])) : 15;

    Figures thousand, tenThousand;
    // A run with the long tables takes over half a second, but with fewer
    // runs their median ratio moves between runs of the benchmark.
    if (!measure(1000, runs, &thousand, out) || !measure(10000, runs, &tenThousand, out))
        return 1;

    out << "object dialog, thread CPU time, medians of " << runs
        << " runs of each size; a row is one phase and one program; ratios are medians of the "
           "runs' paired ratios (middle half in brackets)\n";
    out << QString::asprintf("  fixed: empty dialog built (the form)       %8.2f ms\n",
                             Bench::median(thousand.form));
    out << QString::asprintf("  fixed: empty dialog opened, shown, sized   %8.2f ms\n",
                             Bench::median(thousand.formShown));
    for (const Figures *f : {&thousand, &tenThousand}) {
        out << QString::asprintf("  %5d rows, per row: dialog fill %6.2f us, bare fill %6.2f us, "
                                 "ratio %s (goal <= 1.3)\n",
                                 f->count, f->perRow.measured() * 1e3, f->perRow.bare() * 1e3,
                                 qPrintable(f->perRow.ratioText()));
        out << QString::asprintf("  %5d rows, per row: of which the host reads %6.2f us\n",
                                 f->count, Bench::median(f->reads) / f->count * 1e3);
        out << QString::asprintf("  %5d rows, opened, shown and sized: dialog %8.2f ms, "
                                 "bare tables %8.2f ms, ratio %s (goal <= 1.0)\n",
                                 f->count, f->shown.measured(), f->shown.bare(),
                                 qPrintable(f->shown.ratioText()));
        out << QString::asprintf("  %5d rows, applied unchanged              %8.2f ms\n", f->count,
                                 Bench::median(f->applied));
    }
    out.flush();
    return 0;
}
