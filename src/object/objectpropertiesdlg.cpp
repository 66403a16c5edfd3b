#include "objectpropertiesdlg.h"
#include "ui_objectpropertiesdlg.h"

#include "controllerexchange.h"
#include "controllertypes.h"
#include "custompropseditdlg.h"
#include "drawingfolder.h"
#include "eventsmaskdialog.h"
#include "filechooser.h"
#include "hostcontract.h"
#include "inputmark.h"
#include "keyboard.h"
#include "modaldialog.h"
#include "objectidentifier.h"
#include "pointtext.h"
#include "positionpicker.h"
#include "schemapath.h"
#include "tablefill.h"
#include "tablerows.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QTableWidget>

namespace {

void showRecord(Ui::ObjectPropertiesDlg &ui, const ObjectRecord &record,
                const SchemaPath::Base &base)
{
    ui.id->setValue(record.id);
    if (!record.type.isEmpty()) {
        QStringList labels;
        for (int i = 0; i < ui.type->count(); ++i)
            labels.append(ui.type->itemText(i));
        const int index = ControllerTypes::itemForType(labels, record.type);
        if (index == labels.size())
            ui.type->addItem(record.type);
        ui.type->setCurrentIndex(index);
    }
    ui.descr->setText(record.description);
    ui.pos->setText(PointText::position.format(record.position.value_or(QPointF())));
    ui.schema->setText(base.toRelativePath(record.schema));
    ui.rcuControl->setChecked(record.rcuControl);
    if (record.phases)
        TableFill::showRows(ui.phasesTable, *record.phases, base);
    if (record.programs)
        TableFill::showRows(ui.programsTable, *record.programs, base);
}

// The form as the record to write, with the edits pending from the editors.
ObjectRecord recordFromForm(const Ui::ObjectPropertiesDlg &ui, int id, const SchemaPath::Base &base,
                            const ObjectRecord &pending)
{
    ObjectRecord record = pending;
    record.id = id;
    record.type = ui.type->currentText();
    record.description = ui.descr->text();
    QPointF position;
    if (PointText::position.parse(ui.pos->text(), &position))
        record.position = position;
    record.schema = base.toAbsolutePath(ui.schema->text());
    record.rcuControl = ui.rcuControl->isChecked();
    record.phases = TableFill::rows(ui.phasesTable, base);
    record.programs = TableFill::rows(ui.programsTable, base);
    return record;
}

void showError(QWidget *dialog, const QString &text)
{
    showCriticalBox(dialog, ObjectPropertiesDlg::tr("Error"), text);
}

// Where a chooser starts: the path in the field, else the base folder.
QString startOf(const QString &shown, const QString &baseDir)
{
    return shown.isEmpty() ? baseDir : SchemaPath::toAbsolutePath(baseDir, shown);
}

// Enter on a row activates it as the view does, and goes no further: passed
// on, it would also press OK, closing the dialog and with it the preview that
// the activation has just started. Enter in a cell editor still only commits
// the cell.
class EnterActivatesRow : public QObject
{
public:
    explicit EnterActivatesRow(QAbstractItemView *view)
        : QObject(view)
        , m_view(view)
    {
        view->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        const QWidget *focus = QApplication::focusWidget();
        if (focus && focus != m_view && m_view->isAncestorOf(focus))
            return false; // from a cell editor
        const QModelIndex current = m_view->currentIndex();
        if (!current.isValid())
            return false;
        emit m_view->activated(current);
        return true;
    }

private:
    QAbstractItemView *m_view;
};

} // namespace

ObjectPropertiesDlg::ObjectPropertiesDlg(QWidget *parent, QObject *light)
    : QDialog(parent)
    , ui(new Ui::ObjectPropertiesDlg)
    , m_light(light)
    , m_exchange(new ControllerExchange(this, light))
    , m_picker(new PositionPicker(this))
{
    ui->setupUi(this);
    QTableWidget *phases = ui->phasesTable;
    new EnterActivatesRow(phases);
    Keyboard::bindRowKeys(phases, ui->addPhase, ui->removePhase);
    Keyboard::bindRowKeys(ui->programsTable, ui->addProg, ui->removeProg);
    // The mouse's way to preview, as a double click edits the cell.
    const auto enablePreview = [this] {
        ui->preview->setEnabled(m_crossView && ui->phasesTable->currentRow() >= 0);
    };
    enablePreview();
    connect(phases, &QTableWidget::currentCellChanged, this, enablePreview);
    connect(ui->preview, &QPushButton::clicked, this, [this] {
        on_phasesTable_cellActivated(ui->phasesTable->currentRow(),
                                     ui->phasesTable->currentColumn());
    });
    // Typed, read from the controller or picked: a text that is no point
    // leaves the object's position alone on OK, and the field says so.
    connect(ui->pos, &QLineEdit::textChanged, this, [this](const QString &text) {
        InputMark::mark(ui->pos, PointText::position.parse(text, nullptr)
                                     ? QString()
                                     : tr("Expected longitude;latitude, for example "
                                          "37.6175;55.7539.\nThe position will stay as it is."));
    });
    connect(m_exchange, &ControllerExchange::descriptionRead, ui->descr, &QLineEdit::setText);
    connect(m_exchange, &ControllerExchange::positionRead, this, [this](const QPointF &position) {
        ui->pos->setText(PointText::position.format(position));
    });
    connect(m_exchange, &ControllerExchange::phasesPresent, this, [this](const QByteArray &map) {
        TableFill::appendPresentNumbers(ui->phasesTable, map, tr("Phase %1"));
    });
    connect(m_exchange, &ControllerExchange::programsPresent, this, [this](const QByteArray &map) {
        TableFill::appendPresentNumbers(ui->programsTable, map, tr("Program %1"));
    });
    connect(m_picker, &PositionPicker::picked, this, [this](const QPointF &position) {
        ui->pos->setText(PointText::position.format(position));
    });

    if (!light) {
        qDebug("ObjectPropertiesDlg - null light");
        return;
    }
    // The host may delete its object at any time; the dialog then has nothing
    // left to edit.
    connect(light, &QObject::destroyed, this, &QDialog::reject);

    m_project = light->parent();
    if (m_project && m_project->inherits(Host::ProjectClass))
        m_baseDir = HostCall::read(m_project, Host::Project::BaseDir).toString();
    const ObjectRecord record = readObject(light);
    m_loadedId = record.id;
    showRecord(*ui, record, SchemaPath::Base(m_baseDir));

    auto *selectSchema = new QAction(tr("Select schema"), phases);
    connect(selectSchema, &QAction::triggered, this, &ObjectPropertiesDlg::chooseRowSchema);
    phases->addAction(selectSchema);

    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (widget->inherits("QMainWindow")) {
            m_crossView = widget->findChild<QObject *>(QLatin1String(Host::PreviewViewName));
            break;
        }
    }
    enablePreview();
}

ObjectPropertiesDlg::~ObjectPropertiesDlg()
{
    // Both while the dialog is whole: the exchange may have to leave its
    // progress dialog to a setValue() under way, and a pick shows nothing.
    delete m_exchange;
    m_picker->stop(false);
    if (m_crossView)
        HostCall::call(m_crossView.data(), Host::PreviewView::PreviewPhase, -1);
}

void ObjectPropertiesDlg::accept()
{
    if (!m_light) {
        // The object is gone (or there never was one): there is nothing to
        // write, and closing as accepted would claim an edit that never landed.
        reject();
        return;
    }

    const int id = ObjectIdentifier::effective(m_loadedId, ui->id->value());
    if (!ObjectIdentifier::isValid(id)) {
        showError(this, tr("Object id=%1 - invalid").arg(id));
        return;
    }
    if (m_project && ObjectIdentifier::needsUniquenessCheck(m_loadedId, id)) {
        bool called = false;
        const bool taken =
            HostCall::callFor<bool>(m_project.data(), Host::Project::Contains, &called, id);
        if (called && taken) {
            showError(this, tr("Object with id=%1 already exist").arg(id));
            return;
        }
    }

    writeObject(m_light, recordFromForm(*ui, id, SchemaPath::Base(m_baseDir), m_pending));
    m_pending.eventMaskChanged = false;
    if (m_light)
        QDialog::accept();
    else
        reject();
}

void ObjectPropertiesDlg::on_selSchema_clicked()
{
    chooseSchema(nullptr);
}

// The phases table's action: the schema cell of the first selected cell's row.
void ObjectPropertiesDlg::chooseRowSchema()
{
    QTableWidget *table = ui->phasesTable;
    const QList<QTableWidgetItem *> selected = table->selectedItems();
    if (selected.isEmpty() || !selected.first())
        return;
    const int row = table->row(selected.first());
    if (QTableWidgetItem *cell = row >= 0 ? table->item(row, 2) : nullptr)
        chooseSchema(cell);
}

// Asks for a schema file, starting at the one shown in the phase's schema
// cell, or without a cell in the object's field, and shows the answer there.
void ObjectPropertiesDlg::chooseSchema(QTableWidgetItem *cell)
{
    QTableWidget *table = ui->phasesTable;
    const int row = cell ? cell->row() : -1;
    const QString start = startOf(cell ? cell->text() : ui->schema->text(), m_baseDir);
    QPointer<ObjectPropertiesDlg> self(this);
    const QString chosen = FileChooser::current()->openFileName(
        this, tr("Select schema file for the Object"), start,
        tr("Supported formats (*.wmf *.emf *.svg);;All files (*.*)"));
    if (!self || chosen.isEmpty())
        return;
    const QString shown = SchemaPath::toRelativePath(m_baseDir, chosen);
    if (!cell)
        ui->schema->setText(shown);
    else if (table->item(row, 2) == cell) // the row may have gone meanwhile
        cell->setText(shown);
}

void ObjectPropertiesDlg::on_addPhase_clicked()
{
    TableFill::appendEmptyRow(ui->phasesTable);
}

void ObjectPropertiesDlg::on_removePhase_clicked()
{
    TableRows::removeSelectedRows(ui->phasesTable);
}

void ObjectPropertiesDlg::on_addProg_clicked()
{
    TableFill::appendEmptyRow(ui->programsTable);
}

void ObjectPropertiesDlg::on_removeProg_clicked()
{
    TableRows::removeSelectedRows(ui->programsTable);
}

void ObjectPropertiesDlg::on_importFromFolder_clicked()
{
    const QString start = startOf(ui->schema->text(), m_baseDir);
    QPointer<ObjectPropertiesDlg> self(this);
    const QString folder =
        FileChooser::current()->existingDirectory(this, tr("Select folder to import"), start);
    if (!self || folder.isEmpty())
        return;

    const SchemaPath::Base base(m_baseDir);
    const QString objectSchema = DrawingFolder::objectSchema(folder);
    if (!objectSchema.isEmpty())
        ui->schema->setText(base.toRelativePath(objectSchema));

    TableFill::showPhaseFiles(ui->phasesTable, DrawingFolder::phaseFiles(folder), base,
                              tr("Phase %1"));
}

void ObjectPropertiesDlg::on_phasesTable_cellActivated(int row, int column)
{
    Q_UNUSED(column)
    const QTableWidgetItem *item = ui->phasesTable->item(row, 0);
    if (!m_crossView || !item)
        return;
    bool ok = false;
    const int number = item->text().toInt(&ok);
    if (ok)
        HostCall::call(m_crossView.data(), Host::PreviewView::PreviewPhase, number);
}

void ObjectPropertiesDlg::on_changeEventsMask_clicked()
{
    if (!m_light)
        return;
    bool ok = false;
    const quint32 stored = HostCall::read(m_light, Host::Light::EventMask).toUInt(&ok);
    if (!ok) {
        qDebug("Can't get eventMask property");
        return;
    }

    // The host may destroy this dialog, and with it the editor, while the
    // editor runs.
    QPointer<ObjectPropertiesDlg> self(this);
    ModalDialog<EventsMaskDialog> editor(this, stored);
    const int result = editor.exec();
    if (!self || editor.gone())
        return;
    if (result == QDialog::Accepted && editor->mask() != stored) {
        m_pending.eventMask = editor->mask();
        m_pending.eventMaskChanged = true;
    }
}

void ObjectPropertiesDlg::on_fromController_clicked()
{
    if (m_light)
        m_exchange->start();
}

// The exchange awaits its responses itself; called by name, a step's slot
// hands it an answer without a response, which counts with nothing in it.
void ObjectPropertiesDlg::getRefer()
{
    m_exchange->take(ControllerExchange::Step::Refer);
}

void ObjectPropertiesDlg::getPhases()
{
    m_exchange->take(ControllerExchange::Step::Phases);
}

void ObjectPropertiesDlg::getPrograms()
{
    m_exchange->take(ControllerExchange::Step::Programs);
}

void ObjectPropertiesDlg::getCpu()
{
    m_exchange->take(ControllerExchange::Step::Device);
}

void ObjectPropertiesDlg::clearControllerExchangeQueue()
{
    m_exchange->clear();
}

void ObjectPropertiesDlg::on_selectPos_clicked()
{
    if (m_light)
        m_picker->start(m_light);
}

void ObjectPropertiesDlg::on_additionalProps_clicked()
{
    if (!m_light)
        return;
    const QVariantMap shown = m_pending.customPropertiesChanged
                                  ? m_pending.customProperties
                                  : HostCall::callFor<QVariantMap>(
                                      m_light.data(), Host::Light::CustomProperties, nullptr);

    QPointer<ObjectPropertiesDlg> self(this);
    ModalDialog<CustomPropsEditDlg> editor(shown, this);
    const int result = editor.exec();
    if (!self || editor.gone())
        return;
    if (result == QDialog::Accepted) {
        m_pending.customProperties = editor->properties();
        m_pending.customPropertiesChanged = true;
    }
}

void ObjectPropertiesDlg::stopPositionEdit()
{
    m_picker->stop();
}
