#include "TestSupport.h"

#include "forms/Form.h"
#include "widgets/StringAlignGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

class StringAlignGridTest : public QObject {
    Q_OBJECT

private:
    static std::unique_ptr<TStringAlignGrid> makeGrid(int cols, int rows)
    {
        auto grid = std::make_unique<TStringAlignGrid>();
        grid->setColCount(cols);
        grid->setRowCount(rows);
        grid->resize(500, 300);
        grid->show();
        (void)QTest::qWaitForWindowExposed(grid.get());
        return grid;
    }

private slots:
    void sizeCellsAndTheHeaderRow()
    {
        auto grid = makeGrid(3, 2);
        QCOMPARE(grid->colCount(), 3);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->colWidth(2), 80);
        QCOMPARE(grid->rowHeight(1), 16);

        grid->setCell(1, 0, QStringLiteral("姓名"));
        grid->setCell(1, 1, QStringLiteral("张三"));
        QAbstractItemModel* model = grid->model();
        // Row 0 is the fixed header: drawn in silver whatever its row colours say.
        grid->setRowBackColor(0, Qt::green);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
                 QColor(192, 192, 192));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("张三"));
        QVERIFY(grid->horizontalHeader()->isVisible());
        QVERIFY(!grid->verticalHeader()->isVisible());

        // Raising the count appends empty rows with the defaults; rows dropped
        // by lowering it do not come back with their old texts or marks.
        grid->setRowTextColor(1, Qt::blue);
        grid->setRowHeight(1, -1);
        grid->setRowCount(1);
        grid->setRowCount(4);
        for (int r = 1; r < 4; ++r) {
            QVERIFY(grid->cell(1, r).isEmpty());
            QCOMPARE(grid->rowHeight(r), 16);
            QCOMPARE(grid->rowTextColor(r), QColor(Qt::black));
            QCOMPARE(grid->rowBackColor(r), grid->windowColor());
        }
        grid->setColCount(2);
        grid->setColCount(3);
        QVERIFY(grid->cell(2, 0).isEmpty());

        // Outside the grid nothing happens and nothing is read.
        grid->setCell(9, 9, QStringLiteral("x"));
        QVERIFY(grid->cell(9, 9).isEmpty());
        QVERIFY(grid->cell(-1, 0).isEmpty());
    }

    void hidingColumnsAndRows()
    {
        auto grid = makeGrid(3, 4);
        grid->setColWidth(0, -1);
        QCOMPARE(grid->colWidth(0), -1);
        QVERIFY(grid->isColumnHidden(0));
        grid->setColCount(5); // the hidden column stays hidden as the grid grows
        QVERIFY(grid->isColumnHidden(0));
        QVERIFY(!grid->isColumnHidden(4));
        grid->setColWidth(0, 40);
        QVERIFY(!grid->isColumnHidden(0));
        QCOMPARE(grid->columnWidth(0), 40);

        // A hidden row is never the current one: the next visible row takes
        // over, and with every row hidden there is none.
        grid->setCurrentRow(2);
        grid->setRowHeight(2, -1);
        QVERIFY(grid->isRowHidden(1));
        QCOMPARE(grid->currentRow(), 3);
        grid->setRowHeight(3, -1);
        QCOMPARE(grid->currentRow(), 1);
        grid->setRowHeight(1, -1);
        QCOMPARE(grid->currentRow(), -1);
        for (int r = 1; r < 4; ++r)
            grid->setRowHeight(r, grid->defaultRowHeight());
        QVERIFY(!grid->isRowHidden(1));
        QCOMPARE(grid->rowHeight(2), 16);
        QCOMPARE(grid->currentRow(), 1);
    }

    void alignmentCellBeforeColumnBeforeLeft()
    {
        auto grid = makeGrid(3, 3);
        QCOMPARE(grid->alignment(1, 1), Qt::AlignLeft);
        grid->setColAlignment(1, Qt::AlignRight);
        QCOMPARE(grid->alignment(1, 2), Qt::AlignRight);
        QCOMPARE(grid->alignment(1, 0), Qt::AlignRight);
        grid->setCellAlignment(1, 0, Qt::AlignCenter);
        grid->setCellAlignment(1, 2, Qt::AlignLeft);
        QCOMPARE(grid->alignment(1, 0), Qt::AlignHCenter);
        QCOMPARE(grid->alignment(1, 1), Qt::AlignRight);
        QCOMPARE(grid->alignment(1, 2), Qt::AlignLeft);
        // What is drawn follows the same rule.
        QAbstractItemModel* model = grid->model();
        const auto drawn = [model](int row, int col) {
            return Qt::Alignment(model->data(model->index(row, col), Qt::TextAlignmentRole).toInt()) &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(drawn(0, 1), Qt::AlignRight);
        QCOMPARE(drawn(1, 1), Qt::AlignLeft);
        QCOMPARE(Qt::Alignment(model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
    }

    void rowColoursAndTheSelectedRow()
    {
        auto grid = makeGrid(2, 3);
        grid->setRowTextColor(1, Qt::blue);
        grid->setRowBackColor(2, QColor(183, 233, 194));
        QAbstractItemModel* model = grid->model();
        QCOMPARE(model->data(model->index(0, 1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
        QCOMPARE(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>(), QColor(183, 233, 194));

        // The first data row is current once there is one, and the row stays
        // selected across its whole width when columns are added later.
        QCOMPARE(grid->currentRow(), 1);
        grid->setCurrentRow(2);
        grid->setColCount(6);
        QCOMPARE(grid->currentRow(), 2);
        for (int c = 0; c < 6; ++c)
            QVERIFY(grid->selectionModel()->isSelected(model->index(1, c)));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->cellRect(3, 1).center());
        QCOMPARE(grid->currentRow(), 1);
    }

    void enterStaysInTheGrid()
    {
        // The edit dialogs' Enter navigation leaves an aligned string grid alone.
        TForm dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* grid = new TStringAlignGrid(&dialog);
        auto* edit = new QLineEdit(&dialog);
        layout->addWidget(grid);
        layout->addWidget(edit);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        grid->setFocus();
        EnterToNextControl(grid, Qt::Key_Return, Qt::NoModifier);
        Settle();
        QCOMPARE(dialog.focusWidget(), grid);
    }
};

QTEST_MAIN(StringAlignGridTest)
#include "tst_stringaligngrid.moc"
