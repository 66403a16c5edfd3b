#pragma once

class QTableWidget;

// Sizing a table to its contents. Its rows and columns come out as
// QTableView's own resizeRowsToContents and resizeColumnsToContents size
// them, at a fraction of their cost on long tables, where the items hold text
// alone in the table's font (no icon, font or check box of their own).
namespace TableSizing {

// Sizes a filled table's columns to their contents and widens its window,
// within the screen, so that the last column, which takes whatever width is
// left, shows its contents whole too. The user may still make it narrower.
void fitColumnsToContents(QTableWidget *table);

// How a table's columns were sized before its rows: by
// resizeColumnsToContents, which looks at a sample of a long table's rows, or
// by resizeColumnsOverAllRows.
enum class Columns { SizedOnSample, SizedOverAllRows };

// Gives every row the height resizeRowsToContents gives it, once the columns
// are sized.
void resizeRowsAfterColumns(QTableWidget *table, Columns sized = Columns::SizedOnSample);

// Sizes every column to its widest cell over all rows, as
// resizeColumnsToContents does when the header's resizeContentsPrecision is -1.
void resizeColumnsOverAllRows(QTableWidget *table);

} // namespace TableSizing
