// Opens the object dialog on a controller with 1,000 phases and 1,000
// programs and applies it unchanged; compares the opening with filling two
// bare QTableWidgets with the same items. Prints the median of several runs.

#include "objectpropertiesdlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointF>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int ItemCount = 1000;
constexpr int Runs = 21;

} // namespace

// A phase or program as the host keeps it.
class Item : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id MEMBER m_id)
    Q_PROPERTY(QString description MEMBER m_description)
    Q_PROPERTY(QString shema MEMBER m_shema)

public:
    Item(int id, const QString &description, QObject *parent)
        : QObject(parent)
        , m_id(id)
        , m_description(description)
    {}

    int m_id;
    QString m_description;
    QString m_shema;
};

namespace Arvel {

class Project : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString baseDir MEMBER m_baseDir)

public:
    QString m_baseDir = QStringLiteral("/data/proj");

    Q_INVOKABLE bool contains(int) { return false; }
};

class Light : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id MEMBER m_id)
    Q_PROPERTY(QString type MEMBER m_type)
    Q_PROPERTY(QString description MEMBER m_description)
    Q_PROPERTY(QPointF position MEMBER m_position)
    Q_PROPERTY(QString shema MEMBER m_shema)
    Q_PROPERTY(int RcdControl MEMBER m_rcdControl)

public:
    explicit Light(QObject *parent)
        : QObject(parent)
    {
        for (int i = 0; i < ItemCount; ++i) {
            auto *phase = createPhase(i + 1, QStringLiteral("Phase %1").arg(i + 1));
            phase->setProperty("shema", QStringLiteral("/data/proj/schemas/phase%1.svg").arg(i + 1));
            createProgram(i + 1, QStringLiteral("Program %1").arg(i + 1));
        }
    }

    int m_id = 42;
    QString m_type = QStringLiteral("Arvel2");
    QString m_description = QStringLiteral("Crossing");
    QPointF m_position{37.5, 55.75};
    QString m_shema = QStringLiteral("/data/proj/schemas/main.svg");
    int m_rcdControl = 1;
    QList<QObject *> m_phases;
    QList<QObject *> m_programs;

    Q_INVOKABLE QList<QObject *> phases() { return m_phases; }
    Q_INVOKABLE QList<QObject *> programs() { return m_programs; }
    Q_INVOKABLE void clearPhases()
    {
        qDeleteAll(m_phases);
        m_phases.clear();
    }
    Q_INVOKABLE void clearPrograms()
    {
        qDeleteAll(m_programs);
        m_programs.clear();
    }
    Q_INVOKABLE QObject *createPhase(int id, const QString &description)
    {
        m_phases.append(new Item(id, description, this));
        return m_phases.last();
    }
    Q_INVOKABLE void createProgram(int id, const QString &description)
    {
        m_programs.append(new Item(id, description, this));
    }
    Q_INVOKABLE QVariantMap customProperties() { return {}; }
    Q_INVOKABLE void setCustomProperty(const QString &, const QVariant &, const QString & = {}) {}
};

} // namespace Arvel

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The texts the dialog shows, taken out beforehand: the bare fill does no
// host reads and no path conversion.
struct Texts
{
    QStringList phaseIds, phaseDescriptions, phaseSchemas, programIds, programDescriptions;
};

void bareFill(QTableWidget *phases, QTableWidget *programs, const Texts &texts)
{
    phases->setRowCount(ItemCount);
    for (int row = 0; row < ItemCount; ++row) {
        phases->setItem(row, 0, new QTableWidgetItem(texts.phaseIds.at(row)));
        phases->setItem(row, 1, new QTableWidgetItem(texts.phaseDescriptions.at(row)));
        phases->setItem(row, 2, new QTableWidgetItem(texts.phaseSchemas.at(row)));
    }
    programs->setRowCount(ItemCount);
    for (int row = 0; row < ItemCount; ++row) {
        programs->setItem(row, 0, new QTableWidgetItem(texts.programIds.at(row)));
        programs->setItem(row, 1, new QTableWidgetItem(texts.programDescriptions.at(row)));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    Arvel::Project project;
    auto *light = new Arvel::Light(&project);

    Texts texts;
    for (int i = 0; i < ItemCount; ++i) {
        texts.phaseIds.append(QString::number(i + 1));
        texts.phaseDescriptions.append(QStringLiteral("Phase %1").arg(i + 1));
        texts.phaseSchemas.append(QStringLiteral("schemas/phase%1.svg").arg(i + 1));
        texts.programIds.append(QString::number(i + 1));
        texts.programDescriptions.append(QStringLiteral("Program %1").arg(i + 1));
    }

    std::vector<double> bare, bareShown, load, open, apply;
    for (int run = 0; run < Runs; ++run) {
        {
            QTableWidget phases(0, 3);
            QTableWidget programs(0, 2);
            QElapsedTimer timer;
            timer.start();
            bareFill(&phases, &programs, texts);
            bare.push_back(milliseconds(timer));
            // The same sizing the dialog does once it is shown.
            phases.show();
            programs.show();
            phases.resizeColumnsToContents();
            phases.resizeRowsToContents();
            programs.resizeColumnsToContents();
            programs.resizeRowsToContents();
            QCoreApplication::processEvents();
            bareShown.push_back(milliseconds(timer));
        }
        {
            QElapsedTimer timer;
            timer.start();
            ObjectPropertiesDlg dialog(nullptr, light);
            load.push_back(milliseconds(timer));
            // Shown, with the queued resizing done.
            dialog.open();
            QCoreApplication::processEvents();
            open.push_back(milliseconds(timer));

            timer.restart();
            dialog.accept();
            apply.push_back(milliseconds(timer));
            if (dialog.result() != QDialog::Accepted || light->m_phases.size() != ItemCount
                || light->m_programs.size() != ItemCount) {
                out << "apply did not complete\n";
                return 1;
            }
        }
    }

    const double bareMs = median(bare);
    const double bareShownMs = median(bareShown);
    const double loadMs = median(load);
    const double openMs = median(open);
    const double applyMs = median(apply);
    out << "object dialog, " << ItemCount << " phases and " << ItemCount << " programs, median of "
        << Runs << " runs\n";
    out << QStringLiteral("  bare fill of two tables            %1 ms\n").arg(bareMs, 0, 'f', 2);
    out << QStringLiteral("  dialog built and filled            %1 ms  (%2x the bare fill)\n")
               .arg(loadMs, 0, 'f', 2)
               .arg(loadMs / bareMs, 0, 'f', 2);
    out << QStringLiteral("  bare fill, shown and sized         %1 ms\n").arg(bareShownMs, 0, 'f', 2);
    out << QStringLiteral("  dialog opened, shown and sized     %1 ms  (%2x the bare fill shown)\n")
               .arg(openMs, 0, 'f', 2)
               .arg(openMs / bareShownMs, 0, 'f', 2);
    out << QStringLiteral("  apply unchanged                    %1 ms\n").arg(applyMs, 0, 'f', 2);
    return 0;
}

#include "bench_objectdialog.moc"
