// The tables draw their grid themselves; it must be Qt's grid to the pixel,
// whatever part of the table is painted.
#include "widgets/LaidOutTableView.h"

#include "shell/Application.h"

#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>

namespace {

QStandardItemModel* Numbers(QObject* parent)
{
    auto* model = new QStandardItemModel(30, 8, parent);
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->setItem(r, c, new QStandardItem(QString::number(r * 10 + c)));
    return model;
}

// The view's pixels of the given region, on a background no view paints.
QImage Painted(QTableView& view, const QRegion& region)
{
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    view.render(&image, QPoint(), region);
    return image;
}

} // namespace

class TestLaidOutTableView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TApplication::applyLook(); }

    void gridIsQtsGrid_data()
    {
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<bool>("headersShown");
        QTest::newRow("left to right") << false << true;
        QTest::newRow("right to left") << true << true;
        QTest::newRow("without headers") << false << false;
    }

    void gridIsQtsGrid()
    {
        QFETCH(bool, rightToLeft);
        QFETCH(bool, headersShown);
        QStandardItemModel* model = Numbers(this);
        LaidOutTableView own;
        QTableView qts;
        for (QTableView* view : {static_cast<QTableView*>(&own), &qts}) {
            view->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            view->setModel(model);
            view->resize(520, 300);
            view->horizontalHeader()->setVisible(headersShown);
            view->verticalHeader()->setVisible(headersShown);
            view->setColumnWidth(2, 23);
            view->setRowHeight(4, 41);
            view->setColumnHidden(5, true);
            view->setRowHidden(7, true);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
        }
        const QRect all = own.rect();
        // The whole view, a region of two parts that cut through cells, and a
        // part right of the last column and below the last row.
        const QRegion parts = QRegion(37, 41, 90, 33) + QRegion(130, 120, 211, 77);
        QCOMPARE(Painted(own, all), Painted(qts, all));
        QCOMPARE(Painted(own, parts), Painted(qts, parts));

        // Scrolled to the end, where the table ends inside the view.
        for (QTableView* view : {static_cast<QTableView*>(&own), &qts}) {
            view->scrollToBottom();
            view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
            view->setColumnHidden(7, true);
        }
        QCOMPARE(Painted(own, all), Painted(qts, all));
        QCOMPARE(Painted(own, parts), Painted(qts, parts));

        // Without a grid there is none.
        own.setShowGrid(false);
        qts.setShowGrid(false);
        QCOMPARE(Painted(own, all), Painted(qts, all));
    }

    // The lines end with the table, inside the view; a table without rows has none.
    void gridEndsWithTheTable()
    {
        QStandardItemModel model(3, 2);
        LaidOutTableView own;
        QTableView qts;
        for (QTableView* view : {static_cast<QTableView*>(&own), &qts}) {
            view->setModel(&model);
            view->resize(300, 200);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
        }
        QCOMPARE(Painted(own, own.rect()), Painted(qts, qts.rect()));
        model.setRowCount(0);
        QCOMPARE(Painted(own, own.rect()), Painted(qts, qts.rect()));
    }
};

QTEST_MAIN(TestLaidOutTableView)
#include "tst_laidouttableview.moc"
