// The aligned string grid paints its cells faster than the style would, and
// must look exactly as the style would paint them.
#include "widgets/StringAlignGrid.h"

#include "shell/Application.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

class TestStringAlignGridPaint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TApplication::applyLook(); }

    void cellsLookAsTheStylePaintsThem()
    {
        TStringAlignGrid grid;
        grid.resize(420, 160);
        grid.setColCount(4);
        grid.setRowCount(6);
        grid.setColWidth(0, -1);
        const QStringList header{"", "姓名", "语文", "总分"};
        for (int c = 0; c < 4; ++c)
            grid.setCell(c, 0, header[c]);
        const QStringList names{"王小明", "李华", "欧阳宇轩一二三四五六七八九十", "", "赵"};
        for (int r = 1; r < 6; ++r) {
            grid.setCell(0, r, QString::number(r));
            grid.setCell(1, r, names[r - 1]);
            grid.setCell(2, r, QString::number(50.0 + r * 7.5, 'f', 1));
            grid.setCell(3, r, r == 4 ? QString() : QStringLiteral("%1.0").arg(400 + r * 33));
        }
        grid.setColAlignment(2, Qt::AlignRight);
        grid.setColAlignment(3, Qt::AlignRight);
        grid.setCellAlignment(1, 2, Qt::AlignCenter);
        grid.setRowTextColor(1, QColor(0, 0, 255));
        grid.setRowTextColor(2, QColor(255, 0, 0));
        grid.setRowBackColor(3, QColor(183, 233, 194));
        grid.setRowBackColor(5, QColor(183, 233, 194));
        grid.setRowTextColor(5, QColor(0, 0, 255));
        grid.setCurrentRow(4);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        const QImage fast = grid.grab().toImage();
        QAbstractItemDelegate* own = grid.itemDelegate();
        grid.setItemDelegate(new QStyledItemDelegate(&grid));
        const QImage styled = grid.grab().toImage();
        QCOMPARE(fast.size(), styled.size());
        QVERIFY(fast == styled);

        // Rows lower than a line of text: it is cut at the cell's edges, as
        // the style cuts it, and none of it shows in the rows around.
        grid.setItemDelegate(own);
        grid.setRowHeight(2, 7);
        grid.setRowHeight(3, 9);
        const QImage fastCut = grid.grab().toImage();
        grid.setItemDelegate(new QStyledItemDelegate(&grid));
        QVERIFY(fastCut == grid.grab().toImage());
        grid.setRowHeight(2, grid.defaultRowHeight());
        grid.setRowHeight(3, grid.defaultRowHeight());

        // And a change shows at the next paint, not a text laid out before.
        grid.setItemDelegate(own);
        grid.setCell(2, 1, QStringLiteral("99.5"));
        QVERIFY(grid.grab().toImage() != fast);
    }

    // Changes made in a batch reach the view once, when the last batch ends,
    // and cover every cell and the header row: a view told less would leave
    // old texts on screen.
    void batchedChangesAreAnnouncedWhenTheBatchEnds()
    {
        TStringAlignGrid grid;
        grid.setColCount(3);
        grid.setRowCount(4);
        QSignalSpy cells(grid.model(), &QAbstractItemModel::dataChanged);
        QSignalSpy header(grid.model(), &QAbstractItemModel::headerDataChanged);
        {
            const TStringAlignGrid::Batch batch(&grid);
            {
                const TStringAlignGrid::Batch inner(&grid);
                grid.setCell(1, 0, QStringLiteral("姓名"));
                grid.setCell(2, 3, QStringLiteral("88.5"));
            }
            grid.setRowTextColor(2, QColor(255, 0, 0));
            grid.setColAlignment(2, Qt::AlignRight);
            QCOMPARE(grid.cell(2, 3), QStringLiteral("88.5")); // held at once
            QCOMPARE(cells.count(), 0);
            QCOMPARE(header.count(), 0);
        }
        QCOMPARE(cells.count(), 1);
        QCOMPARE(cells.at(0).at(0).toModelIndex(), grid.model()->index(0, 0));
        QCOMPARE(cells.at(0).at(1).toModelIndex(), grid.model()->index(2, 2));
        QCOMPARE(header.count(), 1);
        QCOMPARE(header.at(0).at(1).toInt(), 0);
        QCOMPARE(header.at(0).at(2).toInt(), 2);

        // A batch without changes announces nothing.
        {
            const TStringAlignGrid::Batch idle(&grid);
        }
        QCOMPARE(cells.count(), 1);
    }
};

QTEST_MAIN(TestStringAlignGridPaint)
#include "tst_stringaligngridpaint.moc"
