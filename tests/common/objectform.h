#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>

// The object dialog's widgets that the tests use, found by their names.
struct ObjectForm
{
    explicit ObjectForm(const QObject *dialog)
        : dialog(dialog)
    {
    }

    bool complete() const
    {
        return id && type && descr && pos && schema && rcuControl && phases && programs && addPhase
               && addProg && selSchema;
    }

    template<typename T> static T *find(const QObject *dialog, const char *name)
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }

    const QObject *dialog;
    QSpinBox *id = find<QSpinBox>(dialog, "id");
    QComboBox *type = find<QComboBox>(dialog, "type");
    QLineEdit *descr = find<QLineEdit>(dialog, "descr");
    QLineEdit *pos = find<QLineEdit>(dialog, "pos");
    QLineEdit *schema = find<QLineEdit>(dialog, "schema");
    QCheckBox *rcuControl = find<QCheckBox>(dialog, "rcuControl");
    QTableWidget *phases = find<QTableWidget>(dialog, "phasesTable");
    QTableWidget *programs = find<QTableWidget>(dialog, "programsTable");
    QPushButton *addPhase = find<QPushButton>(dialog, "addPhase");
    QPushButton *addProg = find<QPushButton>(dialog, "addProg");
    QToolButton *selSchema = find<QToolButton>(dialog, "selSchema");
};

// The texts of a table's rows, cells joined by "|"; "<no item>" for a cell
// without an item.
inline QStringList rowTexts(const QTableWidget *table)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells.append(item ? item->text() : QStringLiteral("<no item>"));
        }
        texts.append(cells.join(QLatin1Char('|')));
    }
    return texts;
}
