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
        : id(find<QSpinBox>(dialog, "id"))
        , type(find<QComboBox>(dialog, "type"))
        , descr(find<QLineEdit>(dialog, "descr"))
        , pos(find<QLineEdit>(dialog, "pos"))
        , schema(find<QLineEdit>(dialog, "schema"))
        , rcuControl(find<QCheckBox>(dialog, "rcuControl"))
        , phases(find<QTableWidget>(dialog, "phasesTable"))
        , programs(find<QTableWidget>(dialog, "programsTable"))
        , addPhase(find<QPushButton>(dialog, "addPhase"))
        , addProg(find<QPushButton>(dialog, "addProg"))
        , selSchema(find<QToolButton>(dialog, "selSchema"))
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

    QSpinBox *id;
    QComboBox *type;
    QLineEdit *descr;
    QLineEdit *pos;
    QLineEdit *schema;
    QCheckBox *rcuControl;
    QTableWidget *phases;
    QTableWidget *programs;
    QPushButton *addPhase;
    QPushButton *addProg;
    QToolButton *selSchema;
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
