#include "osmviewpropertiesdlg.h"
#include "ui_osmviewpropertiesdlg.h"

#include "hostcontract.h"
#include "inputmark.h"
#include "keyboard.h"
#include "settingsarray.h"
#include "tablerows.h"
#include "tablesizing.h"
#include "tileservertemplate.h"

#include <QSettings>
#include <QTableWidget>

namespace {

const char MapArray[] = "Map";
const char SceneGroup[] = "GraphicsScene";
const char ZoomMinKey[] = "zoomMin";
const char ZoomMaxKey[] = "zoomMax";

enum Column { NameColumn, DatabaseColumn, TemplateColumn };

// The keys of a map source, in the order of the table's columns.
QStringList sourceKeys()
{
    return {QStringLiteral("name"), QStringLiteral("dbFile"), QStringLiteral("tileServer")};
}

// OK stores the texts as they are; what the map cannot use is marked, with
// what it expects.
void markSource(QTableWidgetItem *cell)
{
    if (cell->column() == NameColumn) {
        InputMark::mark(cell, !cell->text().trimmed().isEmpty()
                                  ? QString()
                                  : OsmViewPropertiesDlg::tr("Expected a name to list the map "
                                                             "source by.\nThe source will be "
                                                             "stored without a name."));
    } else if (cell->column() == TemplateColumn) {
        InputMark::mark(cell, TileServerTemplate::isAcceptable(cell->text())
                                  ? QString()
                                  : OsmViewPropertiesDlg::tr(
                                      "Expected an http or https address with {z}, {x} and {y}, "
                                      "for example https://tiles.example.com/{z}/{x}/{y}.png.\n"
                                      "The template will be stored as it is, but no tile can be "
                                      "asked from it."));
    }
}

// A view that already shows the limit is left alone: setting it could
// re-zoom the map for nothing.
void pushZoomLimit(QObject *view, const HostCall::Property &property, int value)
{
    bool isInteger = false;
    const int current = HostCall::read(view, property).toInt(&isInteger);
    if (isInteger && current != value)
        HostCall::write(view, property, value);
}

} // namespace

OsmViewPropertiesDlg::OsmViewPropertiesDlg(QWidget *parent, QSettings *settings, QObject *osmView)
    : QDialog(parent)
    , ui(new Ui::OsmViewPropertiesDlg)
    , m_settings(settings)
    , m_osmView(osmView)
{
    ui->setupUi(this);
    Keyboard::bindRowKeys(ui->mapsTable, ui->addMap, ui->removeMap);
    // Each cell is marked as it is filled, loaded, added or typed.
    connect(ui->mapsTable, &QTableWidget::itemChanged, this, &markSource);
    if (!settings)
        return;
    // Settings the host has closed meanwhile leave nothing to write into.
    connect(settings, &QObject::destroyed, this, &QDialog::reject);
    load();
}

OsmViewPropertiesDlg::~OsmViewPropertiesDlg() = default;

void OsmViewPropertiesDlg::load()
{
    QTableWidget *table = ui->mapsTable;
    const QList<QVariantList> sources =
        SettingsArray::read(*m_settings, QLatin1String(MapArray), sourceKeys());
    table->setRowCount(0);
    for (const QVariantList &source : sources) {
        QStringList texts;
        for (const QVariant &value : source)
            texts.append(value.toString());
        TableRows::appendRow(table, texts);
    }
    TableSizing::fitColumnsToContents(table);

    m_settings->beginGroup(QLatin1String(SceneGroup));
    bool ok = false;
    const int zoomMin = m_settings->value(QLatin1String(ZoomMinKey)).toInt(&ok);
    if (ok)
        ui->minZoom->setValue(zoomMin);
    const int zoomMax = m_settings->value(QLatin1String(ZoomMaxKey)).toInt(&ok);
    if (ok)
        ui->maxZoom->setValue(zoomMax);
    m_settings->endGroup();
}

void OsmViewPropertiesDlg::accept()
{
    if (!m_settings) {
        QDialog::accept();
        return;
    }

    const QTableWidget *table = ui->mapsTable;
    using TableRows::cellText;
    QList<QVariantList> sources;
    sources.reserve(table->rowCount());
    for (int row = 0; row < table->rowCount(); ++row) {
        sources.append({cellText(table, row, 0), cellText(table, row, 1), cellText(table, row, 2)});
    }
    SettingsArray::write(*m_settings, QLatin1String(MapArray), sourceKeys(), sources);

    const int zoomMin = ui->minZoom->value();
    const int zoomMax = ui->maxZoom->value();
    m_settings->beginGroup(QLatin1String(SceneGroup));
    m_settings->setValue(QLatin1String(ZoomMinKey), zoomMin);
    pushZoomLimit(m_osmView, Host::MapView::ZoomMin, zoomMin);
    pushZoomLimit(m_osmView, Host::MapView::ZoomMax, zoomMax);
    m_settings->setValue(QLatin1String(ZoomMaxKey), zoomMax);
    m_settings->endGroup();

    QDialog::accept();
}

void OsmViewPropertiesDlg::on_addMap_clicked()
{
    TableRows::appendRow(ui->mapsTable);
}

void OsmViewPropertiesDlg::on_removeMap_clicked()
{
    TableRows::removeSelectedRows(ui->mapsTable);
}
