#include "tablerows.h"
#include "tablesizing.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QtTest>

using Sizes = QList<int>; // the columns' widths, then the rows' heights

Q_DECLARE_METATYPE(TableSizing::Columns)

class tst_TableSizing : public QObject
{
    Q_OBJECT

private slots:
    void sizesAsQtDoes_data();
    void sizesAsQtDoes();
};

namespace {

Sizes sizesOf(const QTableWidget &table)
{
    Sizes sizes;
    for (int column = 0; column < table.columnCount(); ++column)
        sizes.append(table.columnWidth(column));
    for (int row = 0; row < table.rowCount(); ++row)
        sizes.append(table.rowHeight(row));
    return sizes;
}

} // namespace

void tst_TableSizing::sizesAsQtDoes_data()
{
    QTest::addColumn<int>("filler");       // plain rows before the ones tried
    QTest::addColumn<QStringList>("rows"); // cells joined by "|"
    QTest::addColumn<TableSizing::Columns>("columns");
    QTest::addColumn<QList<int>>("taller"); // rows tried that are higher than the first

    // Every kind of row: plain, without any text, of several lines, with an
    // empty cell, too wide for its column, broken by a line separator.
    const QStringList mixed = {"1|North|/a.svg",
                               "||",
                               "3|first line\nsecond line\nthird line|",
                               "4||/b.svg",
                               "5|" + QStringLiteral("a long description ").repeated(8) + "|",
                               "6|first line\u2028second line|"};
    QTest::newRow("short table") << 0 << mixed << TableSizing::Columns::SizedOnSample
                                 << QList<int>{2, 5};
    // Qt sizes a long table's columns on a sample of its rows: a text past
    // the sample may wrap.
    QTest::newRow("table longer than the rows sized on")
        << 1200 << mixed << TableSizing::Columns::SizedOnSample << QList<int>{2, 4, 5};
    // Sized over every row: the widest text decides, wherever it is; a line
    // separator in a text is measured on its own.
    QTest::newRow("columns sized over all rows")
        << 1200
        << QStringList{"7|Phase 7|d/phase7.svg", "10000000|Phase 10000000|d/phase10000000.svg",
                       "9|Phase 9|d/phase9.\u2028.svg"}
        << TableSizing::Columns::SizedOverAllRows << QList<int>{2};
}

void tst_TableSizing::sizesAsQtDoes()
{
    QFETCH(int, filler);
    QFETCH(QStringList, rows);
    QFETCH(TableSizing::Columns, columns);
    QFETCH(QList<int>, taller);

    QTableWidget table(0, 3);
    for (int i = 0; i < filler; ++i)
        rows.prepend(QStringLiteral("%1|Phase|").arg(i));
    for (const QString &row : qAsConst(rows))
        TableRows::appendRow(&table, row.split(QLatin1Char('|')));
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    const bool overAllRows = columns == TableSizing::Columns::SizedOverAllRows;
    if (overAllRows)
        TableSizing::resizeColumnsOverAllRows(&table);
    else
        table.resizeColumnsToContents();
    TableSizing::resizeRowsAfterColumns(&table, columns);
    const Sizes sized = sizesOf(table);

    if (overAllRows)
        table.horizontalHeader()->setResizeContentsPrecision(-1);
    table.resizeColumnsToContents();
    table.resizeRowsToContents();
    QCOMPARE(sized, sizesOf(table));

    QList<int> higher;
    const int first = table.columnCount() + filler;
    for (int row = 1; row < rows.size() - filler; ++row) {
        if (sized.at(first + row) > sized.at(first))
            higher.append(row);
    }
    QCOMPARE(higher, taller);
}

QTEST_MAIN(tst_TableSizing)
#include "tst_tablesizing.moc"
