// Opens the settings editor on an INI file of 20,000 keys in 200 sections
// with comments between them, changes one value and presses OK; compares that
// with the bare QSettings work on the same file: read every value, remove
// every key, write every value back, sync. Prints medians of several runs,
// wall clock and CPU time. Each run times the bare work and the dialog in
// turn, and a ratio is the median of the runs' own ratios (Bench::Pairs).
//
// Then the filter on the same file: the keystroke that filters and the one
// that clears it, against hiding and showing the same items on a bare tree.
//
// Then, on the INI-style files from Debian packages in
// tests/settings/realfiles: one value changed in each the editor saves, and
// saved rewritten whole as before and keeping the lines; counts the lines the
// diff shows.

#include "benchsupport.h"
#include "inidocument.h"
#include "settingseditdlg.h"
#include "settingstree.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int Sections = 200;
constexpr int KeysPerSection = 100;

// Texts, numbers and a list now and then, as a host's settings hold them.
QByteArray makeIni()
{
    QByteArray ini;
    for (int s = 0; s < Sections; ++s) {
        ini += "\n; what section " + QByteArray::number(s) + " holds\n";
        ini += "[section" + QByteArray::number(s) + "]\n";
        for (int k = 0; k < KeysPerSection; ++k) {
            ini += "key" + QByteArray::number(k) + '=';
            if (k % 10 == 0)
                ini += "one, two, three";
            else if (k % 2)
                ini += QByteArray::number(s * KeysPerSection + k);
            else
                ini +=
                    "text of key " + QByteArray::number(k) + " in section " + QByteArray::number(s);
            ini += '\n';
        }
    }
    return ini;
}

struct Clock
{
    QElapsedTimer wall;
    double cpu = 0;
    void start()
    {
        cpu = Bench::processCpuMs();
        wall.start();
    }
    double wallMs() const { return wall.nsecsElapsed() / 1e6; }
    double cpuMs() const { return Bench::processCpuMs() - cpu; }
};

struct Times
{
    std::vector<double> wall, cpu;
    void add(const Clock &clock)
    {
        wall.push_back(clock.wallMs());
        cpu.push_back(clock.cpuMs());
    }
};

QByteArrayList linesOf(const QByteArray &bytes)
{
    QByteArrayList lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Lines removed plus lines added, as a diff shows them (longest common
// subsequence); `replaced` tells whether that is one line for one.
int changedLines(const QByteArray &before, const QByteArray &after, bool *replaced)
{
    const QByteArrayList a = linesOf(before);
    const QByteArrayList b = linesOf(after);
    std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (int i = a.size() - 1; i >= 0; --i) {
        for (int j = b.size() - 1; j >= 0; --j) {
            common[i][j] = a.at(i) == b.at(j) ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    const int removed = a.size() - common[0][0];
    const int added = b.size() - common[0][0];
    *replaced = removed == 1 && added == 1;
    return removed + added;
}

// Changes the value of the first key, in the order the editor shows them.
bool editFirstValue(SettingsNodes &nodes)
{
    for (SettingsNode &node : nodes) {
        if (node.isSection() ? editFirstValue(node.children) : true) {
            if (!node.isSection())
                node.text = QStringLiteral("edited");
            return true;
        }
    }
    return false;
}

void realFiles(QTextStream &out)
{
    const QDir folder(QStringLiteral(EDITOR2_SETTINGS_REALFILES));
    QTemporaryDir dir;
    int files = 0, clean = 0;
    int replacedBefore = 0, replacedAfter = 0, linesBefore = 0, linesAfter = 0;
    for (const QString &name : folder.entryList(QDir::Files)) {
        if (name == QLatin1String("INDEX"))
            continue;
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray original = file.readAll();
        const IniDocument document(original);
        SettingsNodes nodes;
        {
            QSettings settings(file.fileName(), QSettings::IniFormat);
            settings.setIniCodec("UTF-8");
            nodes = SettingsTree::read(settings);
            if (SettingsTree::readFault(settings, document).cause
                != SettingsTree::ReadFault::Cause::None)
                continue;
            // Saved before skipped lines and quoted values running past
            // their line were.
            clean += document.isClean() && SettingsTree::readStatus(settings) == QSettings::NoError;
        }
        if (!editFirstValue(nodes))
            continue;
        ++files;
        for (const bool keep : {false, true}) {
            const QString saved = dir.filePath(QStringLiteral("%1-%2").arg(keep).arg(name));
            bool replaced = false;
            // The save replaces the file only while it holds what was read.
            QFile copy(saved);
            if (!copy.open(QIODevice::WriteOnly) || copy.write(original) != original.size())
                continue;
            copy.close();
            if (!SettingsTree::save(nodes, saved, nullptr, keep ? &document : nullptr))
                continue;
            QFile result(saved);
            result.open(QIODevice::ReadOnly);
            const int changed = changedLines(original, result.readAll(), &replaced);
            (keep ? linesAfter : linesBefore) += changed;
            (keep ? replacedAfter : replacedBefore) += replaced ? 1 : 0;
        }
    }
    out << "real files the editor saves, one value changed in each of " << files << " (" << clean
        << " read cleanly):\n"
        << QString::asprintf("  %-52s %4d files, %5d changed lines\n",
                             "rewritten whole: one line replaced", replacedBefore, linesBefore)
        << QString::asprintf("  %-52s %4d files, %5d changed lines\n",
                             "lines kept: one line replaced", replacedAfter, linesAfter);
}

// Items of two trees of the same shape, side by side.
void pairItems(QTreeWidgetItem *a, QTreeWidgetItem *b,
               std::vector<std::pair<QTreeWidgetItem *, QTreeWidgetItem *>> &pairs)
{
    for (int i = 0; i < a->childCount(); ++i) {
        pairs.emplace_back(a->child(i), b->child(i));
        pairItems(a->child(i), b->child(i), pairs);
    }
}

// The views laid out and painted.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Typing into the filter of the editor open on `fileName`: the keystroke that
// filters (the text "key1" at once, which leaves 11 keys of each section
// shown) and the one that clears it, each with the view laid out and painted;
// against the bare work on a tree of the same items shown beside it: hiding
// the same items and expanding the same sections, item by item, then showing
// and collapsing them again. Thread CPU time.
bool filterKeystrokes(const QString &fileName, int runs, QTextStream &out)
{
    SettingsEditDlg dialog(nullptr, 0, fileName);
    dialog.show();
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("propTree"));
    auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("filter"));
    if (!tree || !filter)
        return false;
    QTreeWidget bareTree;
    bareTree.setColumnCount(3);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        bareTree.addTopLevelItem(tree->topLevelItem(i)->clone());
    bareTree.resize(tree->size());
    bareTree.show();
    settle();

    std::vector<std::pair<QTreeWidgetItem *, QTreeWidgetItem *>> pairs;
    pairItems(tree->invisibleRootItem(), bareTree.invisibleRootItem(), pairs);
    filter->setText(QStringLiteral("key1"));
    settle();
    std::vector<QTreeWidgetItem *> hidden, expanded;
    for (const auto &[item, bareItem] : pairs) {
        if (item->isHidden())
            hidden.push_back(bareItem);
        if (item->isExpanded())
            expanded.push_back(bareItem);
    }
    filter->clear();
    settle();
    if (hidden.size() != size_t(Sections * (KeysPerSection - 11)))
        return false;

    Bench::Pairs filtering, clearing;
    for (int run = 0; run < runs; ++run) {
        double start = Bench::threadCpuMs();
        for (QTreeWidgetItem *item : hidden)
            item->setHidden(true);
        for (QTreeWidgetItem *item : expanded)
            item->setExpanded(true);
        settle();
        const double bareHiding = Bench::threadCpuMs() - start;

        start = Bench::threadCpuMs();
        filter->setText(QStringLiteral("key1"));
        settle();
        filtering.add(Bench::threadCpuMs() - start, bareHiding);

        start = Bench::threadCpuMs();
        for (QTreeWidgetItem *item : hidden)
            item->setHidden(false);
        for (QTreeWidgetItem *item : expanded)
            item->setExpanded(false);
        settle();
        const double bareShowing = Bench::threadCpuMs() - start;

        start = Bench::threadCpuMs();
        filter->clear();
        settle();
        clearing.add(Bench::threadCpuMs() - start, bareShowing);
    }
    out << "filter, " << hidden.size() << " items hidden and " << expanded.size()
        << " sections expanded, medians of " << runs << " runs (thread CPU time)\n";
    const auto line = [&out](const char *what, const Bench::Pairs &pairs) {
        out << QString::asprintf("  %-52s %8.1f ms vs %6.1f ms bare: ", what, pairs.measured(),
                                 pairs.bare())
            << pairs.ratioText() << " (goal < 50 ms)\n";
    };
    line("keystroke that filters", filtering);
    line("keystroke that clears", clearing);
    return true;
}

void bare(const QString &fileName)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    const QStringList keys = settings.allKeys();
    QVariantList values;
    values.reserve(keys.size());
    for (const QString &key : keys)
        values.append(settings.value(key));
    for (const QString &key : keys)
        settings.remove(key);
    for (int i = 0; i < keys.size(); ++i)
        settings.setValue(keys.at(i), values.at(i));
    settings.sync();
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    Bench::quietOffscreenWarnings();
    QTextStream out(stdout);
    const int runs = argc > 1 ? qMax(1, std::atoi(argv[1])) : 11;

    QTemporaryDir dir;
    const QByteArray ini = makeIni();
    Times openTimes, okTimes;
    Bench::Pairs wall, cpu; // the dialog in all against the bare QSettings work
    for (int run = 0; run < runs; ++run) {
        // A fresh file each time: QSettings keeps a cache per file name.
        const QString bareFile = dir.filePath(QStringLiteral("bare%1.ini").arg(run));
        const QString dialogFile = dir.filePath(QStringLiteral("dialog%1.ini").arg(run));
        for (const QString &name : {bareFile, dialogFile}) {
            QFile file(name);
            if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
                return 1;
        }

        Clock clock;
        clock.start();
        bare(bareFile);
        const double bareWall = clock.wallMs();
        const double bareCpu = clock.cpuMs();

        QString editedKey;
        Clock total;
        total.start();
        clock.start();
        {
            SettingsEditDlg dialog(nullptr, 0, dialogFile);
            dialog.show();
            QCoreApplication::processEvents();
            openTimes.add(clock);

            clock.start();
            auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("propTree"));
            const QList<QTreeWidgetItem *> found =
                tree->findItems(QStringLiteral("key1"), Qt::MatchExactly | Qt::MatchRecursive, 1);
            if (found.size() != Sections)
                return 1;
            QTreeWidgetItem *edited = found.at(Sections / 2);
            edited->setText(2, QStringLiteral("edited"));
            editedKey = edited->parent()->text(0) + QStringLiteral("/key1");
            dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))
                ->button(QDialogButtonBox::Ok)
                ->click();
            if (dialog.result() != QDialog::Accepted) {
                out << "OK did not save\n";
                return 1;
            }
        }
        okTimes.add(clock);
        wall.add(total.wallMs(), bareWall);
        cpu.add(total.cpuMs(), bareCpu);

        QSettings check(dialogFile, QSettings::IniFormat);
        if (check.allKeys().size() != Sections * KeysPerSection
            || check.value(editedKey).toString() != QLatin1String("edited")
            || check.value(QStringLiteral("section3/key0")).type() != QVariant::StringList) {
            out << "the saved file is not what was edited\n";
            return 1;
        }
        QCoreApplication::processEvents();
    }

    out << "settings editor, " << Sections * KeysPerSection << " keys in " << Sections
        << " sections, medians of " << runs << " runs (wall clock / process CPU time)\n";
    const auto line = [&out](const char *what, const Times &t) {
        out << QString::asprintf("  %-52s %8.1f ms / %8.1f ms\n", what, Bench::median(t.wall),
                                 Bench::median(t.cpu));
    };
    out << QString::asprintf("  %-52s %8.1f ms / %8.1f ms\n",
                             "bare QSettings: read, remove, write back, sync", wall.bare(),
                             cpu.bare());
    line("dialog opened and shown, tree built", openTimes);
    line("one value edited, OK, dialog destroyed", okTimes);
    out << QString::asprintf("  %-52s %8.1f ms / %8.1f ms\n", "dialog in all", wall.measured(),
                             cpu.measured());
    out << "  ratio dialog / bare, medians of the runs' paired ratios (middle half in brackets): "
        << wall.ratioText() << " wall, " << cpu.ratioText() << " CPU (goal <= 1.5)\n";
    const QString filterFile = dir.filePath(QStringLiteral("filter.ini"));
    QFile file(filterFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
        return 1;
    file.close();
    if (!filterKeystrokes(filterFile, runs, out)) {
        out << "the filter did not show what it should\n";
        return 1;
    }
    realFiles(out);
    out.flush();
    return 0;
}
