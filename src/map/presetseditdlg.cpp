#include "presetseditdlg.h"
#include "ui_presetseditdlg.h"

#include "hostcontract.h"
#include "inputmark.h"
#include "keyboard.h"
#include "pointtext.h"
#include "settingsarray.h"
#include "tablerows.h"
#include "tablesizing.h"

#include <QDebug>
#include <QGraphicsView>
#include <QSettings>
#include <QSignalBlocker>

namespace {

const char DefaultPresetKey[] = "DefaultPreset";
const char PresetsArray[] = "Presets";

enum Column { NameColumn, ToolTipColumn, ZoomColumn, CentreColumn };

// The keys of a stored preset; the centre is stored as two numbers.
enum Key { NameKey, ToolTipKey, ZoomKey, LatKey, LonKey };

QStringList presetKeys()
{
    return {QStringLiteral("name"), QStringLiteral("toolTip"), QStringLiteral("zoom"),
            QStringLiteral("lat"), QStringLiteral("lon")};
}

// A centre that OK will not store is marked, with the form expected.
void markCentre(QTableWidgetItem *centre)
{
    const bool valid = PointText::centre.parse(centre->text(), nullptr);
    InputMark::mark(centre, valid ? QString()
                                  : PresetsEditDlg::tr("Expected longitude;latitude, for example "
                                                       "37.6175;55.7539.\nThe preset will not be "
                                                       "stored."));
}

} // namespace

PresetsEditDlg::PresetsEditDlg(QWidget *parent, QSettings *settings, QGraphicsView *osmView)
    : QDialog(parent)
    , ui(new Ui::PresetsEditDlg)
    , m_settings(settings)
    , m_osmView(osmView)
{
    ui->setupUi(this);
    Keyboard::bindRowKeys(ui->presets, ui->addCustom, ui->remove);
    if (!settings)
        return;
    // Settings the host has closed meanwhile leave nothing to write into.
    connect(settings, &QObject::destroyed, this, &QDialog::reject);
    load();
}

PresetsEditDlg::~PresetsEditDlg() = default;

void PresetsEditDlg::load()
{
    const QString defaultName = m_settings->value(QLatin1String(DefaultPresetKey)).toString();
    const QList<QVariantList> presets =
        SettingsArray::read(*m_settings, QLatin1String(PresetsArray), presetKeys());
    {
        const QSignalBlocker blocker(ui->presets);
        for (const QVariantList &preset : presets) {
            appendPreset({preset.at(NameKey).toString(), preset.at(ToolTipKey).toString(),
                          preset.at(ZoomKey).toString(),
                          PointText::centre.format(
                              PointText::fromStored(preset.at(LonKey), preset.at(LatKey)))});
        }
    }
    TableSizing::fitColumnsToContents(ui->presets);
    // An absent default names no preset, not one whose name is empty.
    const Qt::MatchFlags exactly = Qt::MatchExactly | Qt::MatchCaseSensitive;
    const int current =
        defaultName.isEmpty() ? -1 : ui->defaultPreset->findText(defaultName, exactly);
    ui->defaultPreset->setCurrentIndex(current);
}

// Appends a row and its entry in the default preset list, which stay parallel.
void PresetsEditDlg::appendPreset(const QStringList &texts)
{
    QTableWidget *table = ui->presets;
    TableRows::appendRow(table, texts);
    markCentre(table->item(table->rowCount() - 1, CentreColumn));
    ui->defaultPreset->addItem(texts.value(NameColumn));
}

void PresetsEditDlg::accept()
{
    if (!m_settings) {
        QDialog::accept();
        return;
    }

    m_settings->remove(QLatin1String(DefaultPresetKey));
    const QString defaultName =
        ui->defaultPreset->currentIndex() < 0 ? QString() : ui->defaultPreset->currentText();

    // Stored rows are numbered consecutively: a row left out leaves no hole
    // and no older entry behind it.
    const QTableWidget *table = ui->presets;
    using TableRows::cellText;
    QList<QVariantList> stored;
    bool defaultStored = false;
    for (int row = 0; row < table->rowCount(); ++row) {
        QPointF centre;
        if (!PointText::centre.parse(cellText(table, row, CentreColumn), &centre)) {
            qDebug("Invalid coordinate point");
            continue;
        }
        const QString name = cellText(table, row, NameColumn);
        stored.append({name, cellText(table, row, ToolTipColumn), cellText(table, row, ZoomColumn),
                       centre.y(), centre.x()});
        if (!defaultName.isEmpty() && name == defaultName)
            defaultStored = true;
    }
    SettingsArray::write(*m_settings, QLatin1String(PresetsArray), presetKeys(), stored);
    if (defaultStored)
        m_settings->setValue(QLatin1String(DefaultPresetKey), defaultName);

    QDialog::accept();
}

void PresetsEditDlg::on_remove_clicked()
{
    QComboBox *defaultPreset = ui->defaultPreset;
    TableRows::removeRows(ui->presets, TableRows::selectedRows(ui->presets),
                          [defaultPreset](int row) {
                              if (row == defaultPreset->currentIndex())
                                  defaultPreset->setCurrentIndex(-1);
                              defaultPreset->removeItem(row);
                          });
}

void PresetsEditDlg::on_addCurrent_clicked()
{
    if (!m_osmView)
        return;
    const QSignalBlocker blocker(ui->presets);
    try {
        const QPointF centre =
            m_osmView->mapToScene(m_osmView->viewport()->rect()).boundingRect().center();
        const QString name = tr("Preset");
        appendPreset({name, name, HostCall::read(m_osmView, Host::MapView::ZoomFactor).toString(),
                      PointText::centre.format(centre)});
    } catch (...) {
        qDebug("on_addCurrent_clicked rise exception");
    }
}

void PresetsEditDlg::on_addCustom_clicked()
{
    const QSignalBlocker blocker(ui->presets);
    const QString name = tr("Preset");
    appendPreset({name, name, QString(), QString()});
}

void PresetsEditDlg::on_presets_itemChanged(QTableWidgetItem *item)
{
    if (!item || item->tableWidget() != ui->presets)
        return;
    if (item->column() == CentreColumn)
        markCentre(item);
    if (item->column() != NameColumn)
        return;
    if (item->row() < ui->defaultPreset->count())
        ui->defaultPreset->setItemText(item->row(), item->text());
}
