#pragma once

#include "formparts.h"

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

    const QObject *dialog;
    QSpinBox *id = part<QSpinBox>(dialog, "id");
    QComboBox *type = part<QComboBox>(dialog, "type");
    QLineEdit *descr = part<QLineEdit>(dialog, "descr");
    QLineEdit *pos = part<QLineEdit>(dialog, "pos");
    QLineEdit *schema = part<QLineEdit>(dialog, "schema");
    QCheckBox *rcuControl = part<QCheckBox>(dialog, "rcuControl");
    QTableWidget *phases = part<QTableWidget>(dialog, "phasesTable");
    QTableWidget *programs = part<QTableWidget>(dialog, "programsTable");
    QPushButton *addPhase = part<QPushButton>(dialog, "addPhase");
    QPushButton *addProg = part<QPushButton>(dialog, "addProg");
    QToolButton *selSchema = part<QToolButton>(dialog, "selSchema");
};
