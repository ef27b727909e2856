#include "TestSupport.h"

#include "statistics/GridRows.h"
#include "widgets/StringAlignGrid.h"

#include <QTest>

// Rows of an aligned string grid: a header and one key column (1) beside a name (0).
class GridRowsTest : public QObject {
    Q_OBJECT

private:
    static std::unique_ptr<TStringAlignGrid> makeGrid(const QList<QPair<QString, QString>>& rows)
    {
        auto grid = std::make_unique<TStringAlignGrid>();
        grid->setColCount(2);
        grid->setRowCount(rows.size() + 1);
        grid->setCell(0, 0, QStringLiteral("名"));
        grid->setCell(1, 0, QStringLiteral("分"));
        for (int i = 0; i < rows.size(); ++i) {
            grid->setCell(0, i + 1, rows[i].first);
            grid->setCell(1, i + 1, rows[i].second);
        }
        return grid;
    }

    static QStringList column(const TStringAlignGrid* grid, int col)
    {
        QStringList texts;
        for (int r = 1; r < grid->rowCount(); ++r)
            texts << grid->cell(col, r);
        return texts;
    }

private slots:
    void clearGridResetsEveryRowButKeepsTheShape()
    {
        auto grid = makeGrid({{"a", "1.0"}, {"b", "2.0"}});
        grid->setColWidth(0, -1);
        grid->setRowTextColor(1, Qt::red);
        grid->setRowBackColor(2, Qt::green);
        grid->setRowHeight(2, -1);
        ClearGrid(grid.get());
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->colCount(), 2);
        QCOMPARE(grid->colWidth(0), -1);
        for (int r = 0; r < 3; ++r) {
            QVERIFY(grid->cell(0, r).isEmpty() && grid->cell(1, r).isEmpty());
            QCOMPARE(grid->rowTextColor(r), QColor(Qt::black));
            QCOMPARE(grid->rowBackColor(r), grid->windowColor());
            QCOMPARE(grid->rowHeight(r), grid->defaultRowHeight());
        }
    }

    void sortRanksNumbersByValue()
    {
        const QStringList scores = {"99.9", "95.0",  "9.5",   "85.0", "60.0",
                                    "59.5", "100.5", "100.0", "10.0", "0.0"};
        QList<QPair<QString, QString>> rows;
        for (int i = 0; i < scores.size(); ++i)
            rows.append({QStringLiteral("s%1").arg(i), scores[i]});
        auto grid = makeGrid(rows);
        const QStringList descending = {"100.5", "100.0", "99.9", "95.0", "85.0",
                                        "60.0",  "59.5",  "10.0", "9.5",  "0.0"};

        SortGridRows(1, false, grid.get());
        QCOMPARE(column(grid.get(), 1), descending);
        QCOMPARE(grid->cell(1, 0), QStringLiteral("分")); // the header never moves
        QCOMPARE(grid->rowCount(), scores.size() + 1);    // the scratch row is gone
        QCOMPARE(grid->cell(0, 1), QStringLiteral("s6"));

        SortGridRows(1, true, grid.get());
        QStringList ascending = descending;
        std::reverse(ascending.begin(), ascending.end());
        QCOMPARE(column(grid.get(), 1), ascending);
    }

    void sortMovesColoursAndHeightsWithTheRowAndKeepsItsTieOrder()
    {
        // A, C, B with 50.0, 50.0, 80.0 come out B, C, A: each pass takes the
        // earliest of equal rows and swaps it into place.
        auto grid = makeGrid({{"A", "50.0"}, {"C", "50.0"}, {"B", "80.0"}});
        grid->setRowTextColor(1, Qt::red);
        grid->setRowBackColor(1, QColor(183, 233, 194));
        grid->setRowHeight(2, -1);
        SortGridRows(1, false, grid.get());
        QCOMPARE(column(grid.get(), 0), QStringList({"B", "C", "A"}));
        QCOMPARE(grid->rowTextColor(3), QColor(Qt::red));
        QCOMPARE(grid->rowBackColor(3), QColor(183, 233, 194));
        QCOMPARE(grid->rowTextColor(1), QColor(Qt::black));
        QCOMPARE(grid->rowHeight(2), -1);
        QCOMPARE(grid->rowHeight(1), grid->defaultRowHeight());

        // A single data row stays as it is.
        auto single = makeGrid({{"X", "1.0"}});
        SortGridRows(1, false, single.get());
        QCOMPARE(column(single.get(), 0), QStringList{"X"});
        QCOMPARE(single->rowCount(), 2);
    }

    void findRowsWithinTheirRange()
    {
        auto grid = makeGrid({{"a", "7.0"}, {"b", "30.0"}, {"c", "30.0"}, {"d", "5.0"}, {"e", "100.0"}});
        QCOMPARE(FindMaxRow(1, 1, 4, grid.get()), 2); // the earliest of the equal best
        QCOMPARE(FindMaxRow(1, 1, 5, grid.get()), 5);
        QCOMPARE(FindMinRow(1, 1, 5, grid.get()), 4);
        QCOMPARE(FindMinRow(1, 2, 3, grid.get()), 2);
        QCOMPARE(FindMaxRow(1, 3, 2, grid.get()), 3); // an empty range gives its first row

        // Texts that are not numbers compare character by character.
        QVERIFY(CompareCellTexts(QStringLiteral("b"), QStringLiteral("a")) > 0);
        QVERIFY(CompareCellTexts(QString(), QStringLiteral("a")) < 0);
        QVERIFY(CompareCellTexts(QStringLiteral("10.0"), QStringLiteral("9.5")) > 0);
        QVERIFY(CompareCellTexts(QStringLiteral("9.5"), QStringLiteral("abc")) < 0);
        QCOMPARE(CompareCellTexts(QStringLiteral("50.0"), QStringLiteral("50")), 0);
        QVERIFY(CompareCellTexts(QStringLiteral("nan"), QStringLiteral("1.0")) > 0);
    }
};

QTEST_MAIN(GridRowsTest)
#include "tst_gridrows.moc"
