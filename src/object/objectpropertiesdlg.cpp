#include "objectpropertiesdlg.h"
#include "ui_objectpropertiesdlg.h"

#include "controllerdevice.h"
#include "controllerposition.h"
#include "controllertypes.h"
#include "custompropseditdlg.h"
#include "drawingfolder.h"
#include "eventsmaskdialog.h"
#include "filechooser.h"
#include "hostcall.h"
#include "modaldialog.h"
#include "objectidentifier.h"
#include "pointtext.h"
#include "presencemap.h"
#include "schemapath.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaObject>
#include <QRawFont>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

#include <limits>
#include <set>
#include <vector>

namespace {

// Bit of the signal-group state notification: the host keeps a separate use
// count for it beside the mask.
constexpr quint32 SignalGroupBit = 0x20;

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

// Tells whether a text is laid out as one line in the table's own font: no
// line or paragraph break, and every character drawn by that font itself (a
// fallback font may have taller lines). Characters are looked up once each.
class SingleLineCheck
{
public:
    explicit SingleLineCheck(const QFont &font)
        : m_font(QRawFont::fromFont(font))
        , m_known(0x10000, Unknown)
    {
    }

    bool operator()(const QString &text)
    {
        for (const QChar c : text) {
            if (c.isSurrogate())
                return false;
            char &known = m_known[c.unicode()];
            if (known == Unknown) {
                const bool breaks = c == QLatin1Char('\n') || c == QChar::LineSeparator
                                    || c == QChar::ParagraphSeparator;
                known = !breaks && m_font.supportsCharacter(c) ? Plain : Special;
            }
            if (known == Special)
                return false;
        }
        return true;
    }

private:
    enum : char { Unknown, Plain, Special };
    QRawFont m_font;
    std::vector<char> m_known;
};

// Gives every row the height QTableView::resizeRowsToContents gives it,
// provided the columns were just sized to their contents, at a fraction of
// the cost on long tables. That call lays out the text of every cell; but
// the dialog's cells are plain items in the table's font and, in columns
// sized to them, no text wraps: every row whose cells hold single-line text
// in that font (at least one of them non-empty) comes out as high as any
// other such row, so one of them is measured for all. Other rows are
// measured one by one. A table longer than the rows that sizing the columns
// looks at may wrap text and takes the plain call, unless the columns were
// sized over every row.
void resizeRowsAfterColumns(QTableWidget *table, bool columnsFitAllRows = false)
{
    const int rows = table->rowCount();
    const int columns = table->columnCount();
    const int precision = table->verticalHeader()->resizeContentsPrecision();
    if (!columnsFitAllRows && precision >= 0 && rows > precision) {
        table->resizeRowsToContents();
        return;
    }

    SingleLineCheck singleLine(table->font());
    std::vector<bool> uniform(rows);
    int sample = -1;
    for (int row = 0; row < rows; ++row) {
        bool hasText = false;
        bool plain = true;
        for (int column = 0; column < columns && plain; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            const QString text = item ? item->text() : QString();
            hasText = hasText || !text.isEmpty();
            plain = singleLine(text);
        }
        uniform[row] = hasText && plain;
        if (uniform[row] && sample < 0)
            sample = row;
    }

    int height = 0;
    if (sample >= 0) {
        table->resizeRowToContents(sample);
        height = table->rowHeight(sample);
    }
    // A shown header works out where each resized row now lies, for its
    // repaint, which makes resizing row after row quadratic; one repaint at
    // the end does.
    const bool updates = table->updatesEnabled();
    table->setUpdatesEnabled(false);
    for (int row = 0; row < rows; ++row) {
        if (!uniform[row])
            table->resizeRowToContents(row);
        else if (row != sample)
            table->setRowHeight(row, height);
    }
    table->setUpdatesEnabled(updates);
}

// Sizes every column to its widest cell over all rows, where
// resizeColumnsToContents looks at a sample of them on a long table. Cells of
// plain single-line text in the table's font are compared by their glyph
// advances, and only the widest of them is measured by the view; other cells
// are measured one by one. Afterwards no such text wraps in any row.
void resizeColumnsOverAllRows(QTableWidget *table)
{
    const QRawFont font = QRawFont::fromFont(table->font());
    SingleLineCheck singleLine(table->font());
    QHeaderView *header = table->horizontalHeader();
    const int grid = table->showGrid() ? 1 : 0;
    std::vector<quint32> glyphs;
    std::vector<QPointF> advances;
    for (int column = 0; column < table->columnCount(); ++column) {
        std::vector<int> measured;
        int widest = -1;
        qreal widestAdvance = -1;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QTableWidgetItem *item = table->item(row, column);
            const QString text = item ? item->text() : QString();
            if (!singleLine(text)) {
                measured.push_back(row);
                continue;
            }
            // Plain text holds no surrogates: one glyph per character.
            int count = text.size();
            glyphs.resize(size_t(count));
            advances.resize(size_t(count));
            qreal advance = 0;
            if (count > 0
                && font.glyphIndexesForChars(text.constData(), count, glyphs.data(), &count)
                && font.advancesForGlyphIndexes(glyphs.data(), advances.data(), count,
                                                QRawFont::KernedAdvances)) {
                for (int i = 0; i < count; ++i)
                    advance += advances[size_t(i)].x();
            }
            if (advance > widestAdvance) {
                widestAdvance = advance;
                widest = row;
            }
        }
        if (widest >= 0)
            measured.push_back(widest);
        int width = header->isHidden() ? 0 : header->sectionSizeHint(column);
        for (const int row : measured) {
            const QModelIndex index = table->model()->index(row, column);
            width = qMax(width, table->sizeHintForIndex(index).width() + grid);
        }
        header->resizeSection(column, width);
    }
}

// Fills a table in one go from host objects, one row per object; every cell
// gets an item, as the rest of the dialog relies on.
template<typename CellText>
void fillTable(QTableWidget *table, const QList<QObject *> &objects, CellText cellText)
{
    const int columns = table->columnCount();
    const int rows = objects.size();
    table->setRowCount(rows);
    if (rows > 0 && columns > 0) {
        // One change notice for the whole table instead of one per cell; the
        // table is not shown yet, so nothing reads it meanwhile.
        QAbstractItemModel *model = table->model();
        QSignalBlocker blocker(model);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                table->setItem(row, column,
                               new QTableWidgetItem(cellText(objects.at(row), column)));
        }
        blocker.unblock();
        emit model->dataChanged(model->index(0, 0), model->index(rows - 1, columns - 1));
    }
    // Sizing needs the shown dialog's fonts and geometry; let it run once the
    // event loop turns.
    QMetaObject::invokeMethod(table, "resizeColumnsToContents", Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        table, [table] { resizeRowsAfterColumns(table); }, Qt::QueuedConnection);
}

void appendEmptyRow(QTableWidget *table)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < table->columnCount(); ++column)
        table->setItem(row, column, new QTableWidgetItem);
    table->resizeRowsToContents();
}

void removeSelectedRows(QTableWidget *table)
{
    // Indexes rather than items: a selected cell counts even without an item.
    std::set<int> rows;
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        rows.insert(index.row());
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        table->removeRow(*row);
}

// Appends `count` rows in one go, an item in every cell (cellText is asked
// row by row, left to right), with one change notice for all of them.
template<typename CellText> void appendRows(QTableWidget *table, int count, CellText cellText)
{
    const int first = table->rowCount();
    const int columns = table->columnCount();
    if (count <= 0 || columns <= 0)
        return;
    table->setRowCount(first + count);
    QAbstractItemModel *model = table->model();
    {
        QSignalBlocker blocker(model);
        for (int i = 0; i < count; ++i) {
            for (int column = 0; column < columns; ++column) {
                const QString text = cellText(i, column);
                // An item without text is one allocation less, and reads the same.
                table->setItem(first + i, column,
                               text.isEmpty() ? new QTableWidgetItem : new QTableWidgetItem(text));
            }
        }
    }
    emit model->dataChanged(model->index(first, 0), model->index(first + count - 1, columns - 1));
}

// Appends a row for every number that the presence map marks present and the
// table does not hold yet: its number and its description, further cells
// empty. A number cell that is no number counts as 0.
void appendPresentNumbers(QTableWidget *table, const QByteArray &map, const QString &description)
{
    const int rows = table->rowCount();
    QVector<int> held;
    held.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        if (const QTableWidgetItem *item = table->item(row, 0))
            held.append(item->text().toInt());
    }
    const QVector<int> numbers = PresenceMap::missing(map, held);
    if (numbers.isEmpty())
        return;
    // A description with one "%1" and no other place marker is put together
    // from its two halves: the same text as arg() gives, without parsing the
    // pattern for every one of many rows.
    const int marker = description.indexOf(QLatin1String("%1"));
    const bool split = marker >= 0 && description.count(QLatin1Char('%')) == 1;
    const QString before = description.left(marker);
    const QString after = description.mid(marker + 2);
    QString numberText;
    appendRows(table, numbers.size(), [&](int i, int column) {
        const int number = numbers.at(i);
        switch (column) {
        case 0:
            numberText = QString::number(number);
            return numberText;
        case 1:
            return split ? before + numberText + after : description.arg(number);
        default:
            return QString();
        }
    });
    table->resizeColumnsToContents();
}

// The scene the object names in its "scene" property, if it holds one.
QGraphicsScene *sceneOf(const QObject *light)
{
    static const int registered = qRegisterMetaType<QGraphicsScene *>();
    Q_UNUSED(registered)
    return qobject_cast<QGraphicsScene *>(HostCall::read(light, "scene").value<QObject *>());
}

} // namespace

ObjectPropertiesDlg::ObjectPropertiesDlg(QWidget *parent, QObject *light)
    : QDialog(parent)
    , ui(new Ui::ObjectPropertiesDlg)
    , light(light)
    , exchangeProgress(
          new QProgressDialog(tr("exchange with controller"), tr("cancel"), 0, 4, this))
{
    ui->setupUi(this);

    // Reset at once so that the progress dialog does not pop up by itself
    // after its minimum duration; it shows only while an exchange runs.
    exchangeProgress->setAutoClose(true);
    exchangeProgress->reset();
    connect(exchangeProgress, &QProgressDialog::rejected, this,
            &ObjectPropertiesDlg::clearControllerExchangeQueue);
    // Its cancel button only resets it: answers that come after the user gave
    // up must change nothing either.
    connect(exchangeProgress, &QProgressDialog::canceled, this,
            &ObjectPropertiesDlg::clearControllerExchangeQueue);
    positionStopTimer.setSingleShot(true);
    positionStopTimer.setInterval(300);
    connect(&positionStopTimer, &QTimer::timeout, this, &ObjectPropertiesDlg::stopPositionEdit);

    if (!light) {
        qDebug("ObjectPropertiesDlg - null light");
        return;
    }
    // The host may delete its object at any time; the dialog then has nothing
    // left to edit.
    connect(light, &QObject::destroyed, this, &QDialog::reject);

    project = light->parent();
    if (project && project->inherits("Arvel::Project"))
        baseDir = HostCall::read(project, "baseDir").toString();

    loadedId = HostCall::read(light, "id").toInt();
    ui->id->setValue(loadedId);
    isNew = loadedId <= 0;

    const QString type = HostCall::read(light, "type").toString();
    if (!type.isEmpty()) {
        QStringList labels;
        for (int i = 0; i < ui->type->count(); ++i)
            labels.append(ui->type->itemText(i));
        const int index = ControllerTypes::itemForType(labels, type);
        if (index == labels.size())
            ui->type->addItem(type);
        ui->type->setCurrentIndex(index);
    }

    ui->descr->setText(HostCall::read(light, "description").toString());
    ui->pos->setText(PointText::format(HostCall::read(light, "position").toPointF()));
    ui->schema->setText(toRelativePath(HostCall::read(light, "shema").toString()));
    ui->rcuControl->setChecked(HostCall::read(light, "RcdControl").toBool());

    loadTables();

    auto *selectSchema = new QAction(tr("Select schema"), ui->phasesTable);
    connect(selectSchema, &QAction::triggered, this, &ObjectPropertiesDlg::on_selSchema_clicked);
    ui->phasesTable->addAction(selectSchema);

    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (widget->inherits("QMainWindow")) {
            crossView = widget->findChild<QObject *>(QStringLiteral("crossView"));
            break;
        }
    }
}

ObjectPropertiesDlg::~ObjectPropertiesDlg()
{
    if (exchangeProgressSetting > 0) {
        // Destroyed from within the progress dialog's own setValue(): it is
        // left to setExchangeProgress, which deletes it once that returns.
        exchangeProgress->hide();
        exchangeProgress->setParent(nullptr);
    }
    endPositionEdit(false);
    if (crossView)
        HostCall::call(crossView.data(), "previewPhase", -1);
    delete ui;
}

bool ObjectPropertiesDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (positionEditing && watched == positionScene.data() && watched->inherits("QGraphicsScene")) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier)
                schedulePositionStop();
        } else if (event->type() == QEvent::GraphicsSceneMousePress) {
            const auto *mouse = static_cast<QGraphicsSceneMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier) {
                ui->pos->setText(PointText::format(mouse->scenePos()));
                schedulePositionStop();
            }
        }
    }
    // Never swallowed: the map handles the click or the key as usual.
    return QDialog::eventFilter(watched, event);
}

void ObjectPropertiesDlg::accept()
{
    if (!light) {
        // The object is gone (or there never was one): there is nothing to
        // write, and closing as accepted would claim an edit that never landed.
        reject();
        return;
    }

    const int id = ObjectIdentifier::effective(loadedId, ui->id->value());
    if (!ObjectIdentifier::isValid(id)) {
        showError(tr("Object id=%1 - invalid").arg(id));
        return;
    }
    if (project && ObjectIdentifier::needsUniquenessCheck(loadedId, id)) {
        bool called = false;
        const bool taken = HostCall::callFor<bool>(project.data(), "contains", &called, id);
        if (called && taken) {
            showError(tr("Object with id=%1 already exist").arg(id));
            return;
        }
    }

    HostCall::write(light, "id", id);
    HostCall::write(light, "type", ui->type->currentText());
    HostCall::write(light, "description", ui->descr->text());
    QPointF position;
    if (PointText::parse(ui->pos->text(), &position))
        HostCall::write(light, "position", position);
    HostCall::write(light, "shema", toAbsolutePath(ui->schema->text()));
    HostCall::write(light, "RcdControl", ui->rcuControl->isChecked() ? 1 : 0);

    writePhases();
    writePrograms();
    writeEventMask();
    writeCustomProperties();

    if (light)
        QDialog::accept();
    else
        reject();
}

QString ObjectPropertiesDlg::toRelativePath(const QString &path) const
{
    return SchemaPath::toRelativePath(baseDir, path);
}

QString ObjectPropertiesDlg::toAbsolutePath(const QString &path) const
{
    return SchemaPath::toAbsolutePath(baseDir, path);
}

void ObjectPropertiesDlg::loadTables()
{
    bool called = false;
    const QList<QObject *> phases =
        HostCall::callFor<QList<QObject *>>(light.data(), "phases", &called);
    if (called) {
        const SchemaPath::Base base(baseDir);
        fillTable(ui->phasesTable, phases, [&base](const QObject *phase, int column) {
            switch (column) {
            case 0:
                return HostCall::read(phase, "id").toString();
            case 1:
                return HostCall::read(phase, "description").toString();
            default:
                return base.toRelativePath(HostCall::read(phase, "shema").toString());
            }
        });
    }

    const QList<QObject *> programs =
        HostCall::callFor<QList<QObject *>>(light.data(), "programs", &called);
    if (called) {
        fillTable(ui->programsTable, programs, [](const QObject *program, int column) {
            return HostCall::read(program, column == 0 ? "id" : "description").toString();
        });
    }
}

void ObjectPropertiesDlg::writePhases()
{
    const QTableWidget *table = ui->phasesTable;
    const int rows = table->rowCount();
    const SchemaPath::Base base(baseDir);
    // Clearing an object that cannot rebuild its phases would only lose them.
    if (!HostCall::hasMethod(light, "createPhase(int,QString)")
        || !HostCall::call(light.data(), "clearPhases"))
        return;
    for (int row = 0; row < rows; ++row) {
        const int number = cellText(table, row, 0).toInt();
        const QString description = cellText(table, row, 1);
        bool called = false;
        QObject *phase =
            HostCall::callFor<QObject *>(light.data(), "createPhase", &called, number, description);
        if (!called) {
            qDebug().noquote() << tr("Error creating phase");
            continue;
        }
        if (phase)
            HostCall::write(phase, "shema", base.toAbsolutePath(cellText(table, row, 2)));
    }
}

void ObjectPropertiesDlg::writePrograms()
{
    const QTableWidget *table = ui->programsTable;
    const int rows = table->rowCount();
    if (!HostCall::hasMethod(light, "createProgram(int,QString)")
        || !HostCall::call(light.data(), "clearPrograms"))
        return;
    for (int row = 0; row < rows; ++row) {
        const int number = cellText(table, row, 0).toInt();
        const QString description = cellText(table, row, 1);
        if (!HostCall::call(light.data(), "createProgram", number, description))
            qDebug().noquote() << tr("Error creating program");
    }
}

void ObjectPropertiesDlg::writeEventMask()
{
    if (!eventMaskChanged)
        return;
    const int useCount = HostCall::read(light, "tlo_use_sg_cnt").toInt();
    // A count at the top of int stays there rather than wrap to a negative one.
    const int counted = useCount < std::numeric_limits<int>::max() ? useCount + 1 : useCount;
    HostCall::write(light, "tlo_use_sg_cnt", (eventMask & SignalGroupBit) ? counted : 0);
    HostCall::write(light, "eventMask", QVariant::fromValue<quint32>(eventMask));
    eventMaskChanged = false;
}

void ObjectPropertiesDlg::writeCustomProperties()
{
    const QVariantMap stored =
        HostCall::callFor<QVariantMap>(light.data(), "customProperties", nullptr);

    for (auto it = customProperties.cbegin(); it != customProperties.cend(); ++it) {
        const QVariantList entry = it.value().toList();
        if (entry.size() < 2) {
            // Substituted by hand: a translated text must never act as a
            // format string.
            QString text = tr("Invalid propery %s value");
            text.replace(QLatin1String("%s"), it.key());
            qWarning("%s", text.toLocal8Bit().constData());
            continue;
        }
        HostCall::call(light.data(), "setCustomProperty", it.key(), entry.at(0),
                       entry.at(1).toString());
    }

    if (!customPropertiesChanged)
        return;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!customProperties.contains(it.key()))
            HostCall::call(light.data(), "setCustomProperty", it.key(), QVariant());
    }
}

void ObjectPropertiesDlg::showError(const QString &text)
{
    static const QString title = tr("Error");
    showCriticalBox(this, title, text);
}

void ObjectPropertiesDlg::on_selSchema_clicked()
{
    // From the phases table's action the target is the schema cell of the
    // first selected cell's row, else the object's schema field.
    QTableWidget *table = ui->phasesTable;
    QTableWidgetItem *cell = nullptr;
    int row = -1;
    if (qobject_cast<QAction *>(sender())) {
        const QList<QTableWidgetItem *> selected = table->selectedItems();
        if (selected.isEmpty() || !selected.first())
            return;
        row = table->row(selected.first());
        cell = row >= 0 ? table->item(row, 2) : nullptr;
        if (!cell)
            return;
    }

    const QString current = cell ? cell->text() : ui->schema->text();
    const QString start = current.isEmpty() ? baseDir : toAbsolutePath(current);
    QPointer<ObjectPropertiesDlg> self(this);
    const QString chosen = FileChooser::current()->openFileName(
        this, tr("Select schema file for the Object"), start,
        tr("Supported formats (*.wmf *.emf *.svg);;All files (*.*)"));
    if (!self || chosen.isEmpty())
        return;
    if (!cell)
        ui->schema->setText(toRelativePath(chosen));
    else if (table->item(row, 2) == cell) // the row may have gone meanwhile
        cell->setText(toRelativePath(chosen));
}

void ObjectPropertiesDlg::on_addPhase_clicked()
{
    appendEmptyRow(ui->phasesTable);
}

void ObjectPropertiesDlg::on_removePhase_clicked()
{
    removeSelectedRows(ui->phasesTable);
}

void ObjectPropertiesDlg::on_addProg_clicked()
{
    appendEmptyRow(ui->programsTable);
}

void ObjectPropertiesDlg::on_removeProg_clicked()
{
    removeSelectedRows(ui->programsTable);
}

void ObjectPropertiesDlg::on_importFromFolder_clicked()
{
    const QString current = ui->schema->text();
    const QString start = current.isEmpty() ? baseDir : toAbsolutePath(current);
    QPointer<ObjectPropertiesDlg> self(this);
    const QString folder =
        FileChooser::current()->existingDirectory(this, tr("Select folder to import"), start);
    if (!self || folder.isEmpty())
        return;

    const SchemaPath::Base base(baseDir);
    const QString objectSchema = DrawingFolder::objectSchema(folder);
    if (!objectSchema.isEmpty())
        ui->schema->setText(base.toRelativePath(objectSchema));

    const QVector<DrawingFolder::PhaseFile> files = DrawingFolder::phaseFiles(folder);
    if (files.isEmpty())
        return;
    QVector<const DrawingFolder::PhaseFile *> phases;
    phases.reserve(files.size());
    for (const DrawingFolder::PhaseFile &file : files) {
        if (file.numbered)
            phases.append(&file);
    }

    QTableWidget *table = ui->phasesTable;
    table->setRowCount(0);
    const QString description = tr("Phase %1");
    appendRows(table, phases.size(), [&phases, &description, &base](int i, int column) {
        const DrawingFolder::PhaseFile &file = *phases.at(i);
        switch (column) {
        case 0:
            return QString::number(file.number);
        case 1:
            return description.arg(file.number);
        default:
            return base.toRelativePath(file.path);
        }
    });
    // Sized over every row: a long folder listing would otherwise have its
    // rows measured one by one.
    resizeColumnsOverAllRows(table);
    resizeRowsAfterColumns(table, true);
}

void ObjectPropertiesDlg::on_phasesTable_cellActivated(int row, int column)
{
    Q_UNUSED(column)
    const QTableWidgetItem *item = ui->phasesTable->item(row, 0);
    if (!crossView || !item)
        return;
    bool ok = false;
    const int number = item->text().toInt(&ok);
    if (ok)
        HostCall::call(crossView.data(), "previewPhase", number);
}

void ObjectPropertiesDlg::on_changeEventsMask_clicked()
{
    if (!light)
        return;
    bool ok = false;
    const quint32 stored = HostCall::read(light, "eventMask").toUInt(&ok);
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
        eventMask = editor->mask();
        eventMaskChanged = true;
    }
}

void ObjectPropertiesDlg::on_fromController_clicked()
{
    if (!light)
        return;
    // Still up from an exchange under way, the progress dialog processes
    // events while it takes the new value.
    if (!setExchangeProgress(0))
        return;
    exchangeProgress->open();
    if (!sendCommand(QStringLiteral("GET_REFER"), 2, SLOT(getRefer())))
        exchangeProgress->reject();
}

void ObjectPropertiesDlg::getRefer()
{
    QVariantList data;
    if (!takeAnswer(SLOT(getRefer()), &data))
        return;
    if (!data.isEmpty() && ControllerDevice::isRecognised(data.at(0).toString())) {
        // Each independently: one that cannot be sent leaves the others.
        sendCommand(QStringLiteral("GET_DEVICE"), QVariantList{0, 17}, SLOT(getCpu()));
        sendCommand(QStringLiteral("GET_CLIST"), 16, SLOT(getPhases()));
        sendCommand(QStringLiteral("GET_CLIST"), 18, SLOT(getPrograms()));
    }
    if (data.size() >= 3)
        ui->descr->setText(data.at(2).toString().trimmed());
    QPointF position;
    if (data.size() >= 4 && ControllerPosition::parse(data.at(3).toString(), &position))
        ui->pos->setText(PointText::format(position));
    closeExchangeIfDone();
}

void ObjectPropertiesDlg::getPhases()
{
    QVariantList data;
    if (!takeAnswer(SLOT(getPhases()), &data))
        return;
    if (data.size() >= 2)
        appendPresentNumbers(ui->phasesTable, data.at(1).toByteArray(), tr("Phase %1"));
    closeExchangeIfDone();
}

void ObjectPropertiesDlg::getPrograms()
{
    QVariantList data;
    if (!takeAnswer(SLOT(getPrograms()), &data))
        return;
    if (data.size() >= 2)
        appendPresentNumbers(ui->programsTable, data.at(1).toByteArray(), tr("Program %1"));
    // Also after a short answer: the progress dialog must not stay up for
    // an exchange that is over.
    closeExchangeIfDone();
}

void ObjectPropertiesDlg::getCpu()
{
    QVariantList data;
    if (!takeAnswer(SLOT(getCpu()), &data))
        return;
    closeExchangeIfDone();
}

void ObjectPropertiesDlg::clearControllerExchangeQueue()
{
    while (!controllerExchangeQueue.isEmpty()) {
        const QPointer<QObject> response = controllerExchangeQueue.takeFirst();
        if (!response)
            continue;
        // The deletion is deferred; an answer that still arrives before it
        // must not reach a handler.
        disconnect(response.data(), nullptr, this, nullptr);
        response->deleteLater();
    }
}

bool ObjectPropertiesDlg::sendCommand(const QVariant &command, const QVariant &argument,
                                      const char *handler)
{
    QObject *response = nullptr;
    if (!HostCall::invoke(light.data(), "sendCommand",
                          QGenericReturnArgument("Response*", &response), Q_ARG(QVariant, command),
                          Q_ARG(QVariant, argument))
        || !response || response->metaObject()->indexOfSignal("finished()") < 0)
        return false;
    // A response handed out again for the same handler is awaited once.
    if (!connect(response, SIGNAL(finished()), this, handler, Qt::UniqueConnection))
        return true;
    if (!controllerExchangeQueue.contains(response))
        connect(response, &QObject::destroyed, this, &ObjectPropertiesDlg::dropDeletedResponses);
    controllerExchangeQueue.append(response);
    return true;
}

bool ObjectPropertiesDlg::takeAnswer(const char *handler, QVariantList *data)
{
    if (QObject *response = sender()) {
        // One answer per response: a second finished() changes nothing.
        disconnect(response, SIGNAL(finished()), this, handler);
        const int index = controllerExchangeQueue.indexOf(response);
        if (index >= 0)
            controllerExchangeQueue.removeAt(index);
        *data = response->property("data").toList();
    }
    return setExchangeProgress(exchangeProgress->value() + 1);
}

bool ObjectPropertiesDlg::setExchangeProgress(int value)
{
    // Shown and modal, the progress dialog processes events while it takes a
    // value, and the host may destroy this dialog meanwhile: the destructor
    // then leaves the progress dialog to the outermost call here, since Qt's
    // setValue() goes on using it after the events.
    QPointer<ObjectPropertiesDlg> self(this);
    QProgressDialog *progress = exchangeProgress;
    const bool outermost = exchangeProgressSetting == 0;
    ++exchangeProgressSetting;
    progress->setValue(value);
    if (!self) {
        if (outermost)
            delete progress;
        return false;
    }
    --exchangeProgressSetting;
    return true;
}

void ObjectPropertiesDlg::dropDeletedResponses()
{
    // The host deleted a response before it finished: its answer will not
    // come, and nothing may touch it.
    if (controllerExchangeQueue.removeAll(QPointer<QObject>()) > 0)
        closeExchangeIfDone();
}

void ObjectPropertiesDlg::closeExchangeIfDone()
{
    if (controllerExchangeQueue.isEmpty())
        exchangeProgress->reject();
}

void ObjectPropertiesDlg::on_selectPos_clicked()
{
    if (!light || positionEditing)
        return;
    QGraphicsScene *scene = sceneOf(light);
    if (!scene)
        return;
    positionEditing = true;
    positionScene = scene;
    // The pick ends at once when the scene goes or the dialog closes.
    connect(scene, &QObject::destroyed, this, &ObjectPropertiesDlg::stopPositionEdit);
    connect(this, &QDialog::finished, this, &ObjectPropertiesDlg::abandonPositionEdit);
    hide();
    scene->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::CrossCursor);
}

void ObjectPropertiesDlg::on_additionalProps_clicked()
{
    if (!light)
        return;
    const QVariantMap shown =
        customPropertiesChanged
            ? customProperties
            : HostCall::callFor<QVariantMap>(light.data(), "customProperties", nullptr);

    QPointer<ObjectPropertiesDlg> self(this);
    ModalDialog<CustomPropsEditDlg> editor(shown, this);
    const int result = editor.exec();
    if (!self || editor.gone())
        return;
    if (result == QDialog::Accepted) {
        customProperties = editor->properties();
        customPropertiesChanged = true;
    }
}

void ObjectPropertiesDlg::stopPositionEdit()
{
    endPositionEdit(true);
}

void ObjectPropertiesDlg::cancelPositionPick()
{
    endPositionEdit(true);
}

void ObjectPropertiesDlg::schedulePositionStop()
{
    // An Escape and a click close together end the pick once.
    if (!positionStopTimer.isActive())
        positionStopTimer.start();
}

void ObjectPropertiesDlg::abandonPositionEdit()
{
    endPositionEdit(false);
}

void ObjectPropertiesDlg::endPositionEdit(bool showAgain)
{
    if (!positionEditing)
        return;
    positionEditing = false;
    positionStopTimer.stop();
    disconnect(this, &QDialog::finished, this, &ObjectPropertiesDlg::abandonPositionEdit);
    if (positionScene) {
        disconnect(positionScene.data(), &QObject::destroyed, this,
                   &ObjectPropertiesDlg::stopPositionEdit);
        positionScene->removeEventFilter(this);
    }
    positionScene = nullptr;
    if (showAgain)
        show();
    QApplication::restoreOverrideCursor();
}
