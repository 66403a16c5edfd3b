#pragma once

#include <QList>

class QTableWidget;

// The rows of a table that hold at least one selected cell, each once, the
// last first, so that removing them in this order keeps the others' numbers.
QList<int> selectedRowsDescending(const QTableWidget *table);
