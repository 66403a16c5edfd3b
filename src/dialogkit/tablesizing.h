#pragma once

class QTableWidget;

namespace TableSizing {

// Sizes a filled table's columns to their contents and widens its window,
// within the screen, so that the last column, which takes whatever width is
// left, shows its contents whole too. The user may still make it narrower.
void fitColumnsToContents(QTableWidget *table);

} // namespace TableSizing
