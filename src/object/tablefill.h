#pragma once

#include "drawingfolder.h"
#include "objectrecord.h"

#include <QByteArray>
#include <QString>

class QTableWidget;

namespace SchemaPath {
class Base;
}

// Filling and sizing the object dialog's phases and programs tables. Every
// row gets an item in every cell, as the dialog relies on; a phases table's
// third column holds schema paths relative to the project's base folder.
namespace TableFill {

// Fills an empty table from the host's rows and sizes it once the event loop
// turns, when the shown dialog has its fonts and geometry.
void showRows(QTableWidget *table, const QVector<ObjectRecord::Row> &rows,
              const SchemaPath::Base &base);

// The table's rows, schema paths made absolute.
QVector<ObjectRecord::Row> rows(const QTableWidget *table, const SchemaPath::Base &base);

// Appends a row of empty cells.
void appendEmptyRow(QTableWidget *table);

// Appends a row for every number that the presence map marks present and the
// table does not hold yet: its number, `description` with "%1" replaced by
// it, further cells empty. A number cell that is no number counts as 0.
void appendPresentNumbers(QTableWidget *table, const QByteArray &map, const QString &description);

// Replaces the phases with the numbered files of a drawing folder, unless it
// holds no phase file at all, and sizes the table over all its rows, as Qt's
// own calls do when told to look at all rows.
void showPhaseFiles(QTableWidget *table, const QVector<DrawingFolder::PhaseFile> &files,
                    const SchemaPath::Base &base, const QString &description);

} // namespace TableFill
