#include "TestSupport.h"

#include "statistics/GridRows.h"
#include "widgets/StringAlignGrid.h"

#include <QTest>

// The statistics table's row order: positions over students, ordered and
// hidden by a key per student.
class GridRowsTest : public QObject {
    Q_OBJECT

private:
    // The keys in the order the rows show them.
    static QList<double> shown(const RowKeys& keys, const GridRows& rows)
    {
        QList<double> order;
        for (int student : rows.students)
            order << keys.at(student);
        return order;
    }

private slots:
    void clearGridResetsEveryRowButKeepsTheShape()
    {
        TStringAlignGrid grid;
        grid.setColCount(2);
        grid.setRowCount(3);
        for (int r = 0; r < 3; ++r)
            grid.setCell(1, r, QStringLiteral("x"));
        grid.setColWidth(0, -1);
        grid.setRowTextColor(1, Qt::red);
        grid.setRowBackColor(2, Qt::green);
        grid.setRowHeight(2, -1);
        ClearGrid(&grid);
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.colCount(), 2);
        QCOMPARE(grid.colWidth(0), -1);
        for (int r = 0; r < 3; ++r) {
            QVERIFY(grid.cell(0, r).isEmpty() && grid.cell(1, r).isEmpty());
            QCOMPARE(grid.rowTextColor(r), QColor(Qt::black));
            QCOMPARE(grid.rowBackColor(r), grid.windowColor());
            QCOMPARE(grid.rowHeight(r), grid.defaultRowHeight());
        }
    }

    void sortRanksByNumber()
    {
        const RowKeys keys = {99.9, 95.0, 9.5, 85.0, 60.0, 59.5, 100.5, 100.0, 10.0, 0.0};
        GridRows rows = GridRows::inRosterOrder(int(keys.size()));
        const QList<double> descending = {100.5, 100.0, 99.9, 95.0, 85.0, 60.0, 59.5, 10.0, 9.5, 0.0};

        SortGridRows(keys, false, rows);
        QCOMPARE(shown(keys, rows), descending);
        QCOMPARE(rows.students.first(), 6);

        SortGridRows(keys, true, rows);
        QList<double> ascending = descending;
        std::reverse(ascending.begin(), ascending.end());
        QCOMPARE(shown(keys, rows), ascending);
    }

    void sortKeepsTheSelectionSortsTieOrderAndMovesHiddenRows()
    {
        // A, C, B with 50.0, 50.0, 80.0 come out B, C, A: each pass takes the
        // earliest of equal keys and swaps it into place.
        const RowKeys keys = {50.0, 50.0, 80.0};
        GridRows rows = GridRows::inRosterOrder(3);
        rows.hidden[0] = true; // A
        SortGridRows(keys, false, rows);
        QCOMPARE(rows.students, QVector<int>({2, 1, 0}));
        QCOMPARE(rows.hidden, QVector<bool>({false, false, true}));

        // One row, or none, stays as it is.
        GridRows single = GridRows::inRosterOrder(1);
        SortGridRows({1.0}, false, single);
        QCOMPARE(single.students, QVector<int>{0});
        GridRows none = GridRows::inRosterOrder(0);
        SortGridRows({}, false, none);
        QCOMPARE(none.size(), 0);
    }

    void findRowsWithinTheirRange()
    {
        const RowKeys keys = {7.0, 30.0, 30.0, 5.0, 100.0};
        const GridRows rows = GridRows::inRosterOrder(5);
        QCOMPARE(FindMaxRow(keys, 0, 3, rows), 1); // the earliest of the equal best
        QCOMPARE(FindMaxRow(keys, 0, 4, rows), 4);
        QCOMPARE(FindMinRow(keys, 0, 4, rows), 3);
        QCOMPARE(FindMinRow(keys, 1, 2, rows), 1);
        QCOMPARE(FindMaxRow(keys, 2, 1, rows), 2); // an empty range gives its first row

        // Positions, not students: the keys follow the rows as they stand.
        GridRows moved = rows;
        SwapGridRows(0, 4, moved);
        QCOMPARE(FindMaxRow(keys, 0, 4, moved), 0);
        QCOMPARE(FindMinRow(keys, 0, 4, moved), 3);
    }

    void hidesOutsideTheRangeWithBothBoundsInside()
    {
        const RowKeys keys = {59.9, 60.0, 80.0, 95.0, 95.1};
        GridRows rows = GridRows::inRosterOrder(5);
        HideRowsOutside(keys, 60, 95, rows);
        QCOMPARE(rows.hidden, QVector<bool>({true, false, false, false, true}));

        // A lower bound above the upper one hides everything.
        GridRows all = GridRows::inRosterOrder(5);
        HideRowsOutside(keys, 90, 80, all);
        QCOMPARE(all.hidden, QVector<bool>(5, true));
    }
};

QTEST_MAIN(GridRowsTest)
#include "tst_gridrows.moc"
