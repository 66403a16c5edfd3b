// Two things the object dialog does with long lists, each set against the bare
// Qt work it stands on, measured in the same run:
//
// - merging the phase presence map a controller answers to "GET_CLIST" 16:
//   64 KB, 131,072 entries all present, into a phases table that holds 1,000
//   rows already, against filling a bare table of 1,000 rows with the same
//   new rows (texts made beforehand);
// - importing a drawing folder of 5,000 files, 4,990 of them phase files,
//   against listing that folder with the same filter and sorting and filling
//   a bare table with the same rows (texts made beforehand).
//
// Times are the GUI thread's CPU time, medians over the runs: on a shared
// machine wall-clock samples jump by whole scheduler ticks whenever another
// process takes the core. Each run times the bare work and the dialog in
// turn, and a ratio is the median of the runs' own ratios (Bench::Pairs).
//
// Usage: bench_objectexchange [runs]   (offscreen unless QT_QPA_PLATFORM is set)

#include "benchsupport.h"
#include "filechooser.h"
#include "objectpropertiesdlg.h"
#include "standinhost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int HeldRows = 1000;
constexpr int MapBytes = 64 * 1024;
constexpr int FolderFiles = 5000;
constexpr int PhaseFiles = 4990;

} // namespace

namespace {

struct Rows
{
    QStringList ids, descriptions, schemas;
};

void bareAppend(QTableWidget *table, const Rows &rows)
{
    const int first = table->rowCount();
    const int count = rows.ids.size();
    table->setRowCount(first + count);
    for (int i = 0; i < count; ++i) {
        table->setItem(first + i, 0, new QTableWidgetItem(rows.ids.at(i)));
        table->setItem(first + i, 1, new QTableWidgetItem(rows.descriptions.at(i)));
        table->setItem(first + i, 2, new QTableWidgetItem(rows.schemas.at(i)));
    }
}

class FolderChooser : public FileChooser
{
public:
    QString m_folder;
    QString existingDirectory(QWidget *, const QString &, const QString &) override
    {
        return m_folder;
    }
};

bool measureMerge(int runs, Bench::Pairs *pairs, QTextStream &out)
{
    Arvel::Light light(nullptr);
    light.preset("id", 42);
    for (int i = 0; i < HeldRows; ++i)
        light.presetPhase(i * 7, QStringLiteral("Phase %1").arg(i * 7), QString());
    const QByteArray map(MapBytes, '\0');
    Rows held, added;
    for (int n = 0; n < 2 * MapBytes; ++n) {
        if (n % 7 == 0 && n / 7 < HeldRows)
            continue;
        added.ids.append(QString::number(n));
        added.descriptions.append(QStringLiteral("Phase %1").arg(n));
        added.schemas.append(QString());
    }
    for (int i = 0; i < HeldRows; ++i) {
        held.ids.append(QString::number(i * 7));
        held.descriptions.append(QStringLiteral("Phase %1").arg(i * 7));
        held.schemas.append(QString());
    }

    for (int run = 0; run < runs; ++run) {
        double bare = 0;
        {
            QTableWidget table(0, 3);
            bareAppend(&table, held);
            table.show();
            QCoreApplication::processEvents();
            const double start = Bench::threadCpuMs();
            bareAppend(&table, added);
            bare = Bench::threadCpuMs() - start;
        }
        QCoreApplication::processEvents();
        {
            ObjectPropertiesDlg dialog(nullptr, &light);
            dialog.open();
            QCoreApplication::processEvents();
            const int sentBefore = light.responses().size();
            dialog.findChild<QPushButton *>(QStringLiteral("fromController"))->click();
            light.response(QStringLiteral("GET_REFER"))
                ->finish({QStringLiteral("Arvel2"), QString(), QString(), QString()});
            const int sent = light.responses().size() - sentBefore;
            if (sent != 4) {
                out << "the exchange sent " << sent << " commands, not 4\n";
                return false;
            }
            Response *phases = light.response(QStringLiteral("GET_CLIST 16"));
            const double start = Bench::threadCpuMs();
            phases->finish({16, map});
            pairs->add(Bench::threadCpuMs() - start, bare);
            auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("phasesTable"));
            if (table->rowCount() != HeldRows + added.ids.size()) {
                out << "the merge left " << table->rowCount() << " rows\n";
                return false;
            }
        }
        QCoreApplication::processEvents();
    }
    return true;
}

bool measureImport(int runs, Bench::Pairs *pairs, QTextStream &out)
{
    QTemporaryDir base;
    const QString folder = QDir(base.path()).absoluteFilePath(QStringLiteral("drawings"));
    QDir().mkpath(folder);
    QStringList names = {"main.svg",    "bg.svg",     "bg.wmf",     "readme.txt", "phase.svg",
                         "phase-x.svg", "phase1.png", "legend.svg", "notes.txt",  "phase2.svg.bak"};
    for (int n = 1; n <= PhaseFiles; ++n)
        names.append(QStringLiteral("phase%1.svg").arg(n));
    for (const QString &name : names) {
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly)) {
            out << "cannot create " << file.fileName() << "\n";
            return false;
        }
    }
    if (names.size() != FolderFiles)
        return false;

    Arvel::Project project(nullptr);
    project.preset("baseDir", base.path());
    auto *light = new Arvel::Light(nullptr, &project);
    light->preset("id", 42);
    FolderChooser chooser;
    chooser.m_folder = folder;
    FileChooser::setCurrent(&chooser);

    // The rows the import makes, as texts made beforehand.
    Rows rows;
    {
        const QFileInfoList listed =
            QDir(folder, QStringLiteral("phase*.svg"), QDir::Name | QDir::IgnoreCase)
                .entryInfoList();
        for (const QFileInfo &entry : listed) {
            bool ok = false;
            const int n = entry.completeBaseName().mid(5).toInt(&ok);
            if (!ok)
                continue;
            rows.ids.append(QString::number(n));
            rows.descriptions.append(QStringLiteral("Phase %1").arg(n));
            rows.schemas.append(QStringLiteral("drawings/") + entry.fileName());
        }
    }

    for (int run = 0; run < runs; ++run) {
        double bare = 0;
        {
            QTableWidget table(0, 3);
            table.show();
            QCoreApplication::processEvents();
            const double start = Bench::threadCpuMs();
            const QFileInfoList listed =
                QDir(folder, QStringLiteral("phase*.svg"), QDir::Name | QDir::IgnoreCase)
                    .entryInfoList();
            bareAppend(&table, rows);
            bare = Bench::threadCpuMs() - start;
            if (listed.size() != PhaseFiles + 2)
                return false;
        }
        QCoreApplication::processEvents();
        {
            ObjectPropertiesDlg dialog(nullptr, light);
            dialog.open();
            QCoreApplication::processEvents();
            const double start = Bench::threadCpuMs();
            dialog.findChild<QPushButton *>(QStringLiteral("importFromFolder"))->click();
            pairs->add(Bench::threadCpuMs() - start, bare);
            auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("phasesTable"));
            if (table->rowCount() != PhaseFiles) {
                out << "the import gave " << table->rowCount() << " rows\n";
                return false;
            }
        }
        QCoreApplication::processEvents();
    }
    FileChooser::setCurrent(nullptr);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    Bench::quietOffscreenWarnings();
    QTextStream out(stdout);
    const int runs = argc > 1 ? qMax(1, std::atoi(argv[1])) : 9;

    Bench::Pairs merge, import;
    if (!measureMerge(runs, &merge, out) || !measureImport(runs, &import, out))
        return 1;

    out << "Presence map of " << MapBytes / 1024 << " KB (" << 2 * MapBytes
        << " entries) merged into " << HeldRows << " phase rows, median of " << runs << " runs:\n"
        << QString::asprintf("  object dialog            %.1f ms\n", merge.measured())
        << QString::asprintf("  bare table, same rows    %.1f ms\n", merge.bare())
        << "  ratio                    " << merge.ratioText() << "\n";
    out << "Drawing folder of " << FolderFiles << " files (" << PhaseFiles
        << " phase files) imported, median of " << runs << " runs:\n"
        << QString::asprintf("  object dialog            %.1f ms\n", import.measured())
        << QString::asprintf("  listing and bare table   %.1f ms\n", import.bare())
        << "  ratio                    " << import.ratioText() << "\n";
    out << "Ratios: medians of the runs' paired ratios, the middle half in brackets.\n";
    return 0;
}
