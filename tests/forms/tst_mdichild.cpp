// A window shown in the MDI area: maximised, its frame hidden and never
// painted through its contents; restored, framed as every MDI child.
#include "WindowDrivers.h"
#include "forms/uPub.h"

#include "shell/Application.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

class TestMdiChild : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TApplication::applyLook(); }

    void focusChangesRepaintNoFrame()
    {
        // In a main window with a menu bar, as the program's: a maximised
        // child's title and buttons go into the menu bar.
        QMainWindow main;
        main.menuBar()->addMenu(QStringLiteral("系统"));
        auto* area = new QMdiArea;
        main.setCentralWidget(area);
        main.resize(640, 480);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto window = std::make_unique<QWidget>();
        auto* outer = new QVBoxLayout(window.get());
        outer->setContentsMargins(0, 0, 0, 0);
        auto* box = new QGroupBox(QStringLiteral("成绩"));
        outer->addWidget(box);
        auto* inner = new QVBoxLayout(box);
        auto* first = new QLineEdit;
        auto* second = new QLineEdit;
        inner->addWidget(first);
        inner->addWidget(second);
        QWidget* shown = window.get();
        ShowInMdiArea(area, std::move(window));
        QMdiSubWindow* frame = area->subWindowList().value(0);
        QVERIFY(frame && frame->isMaximized());
        QTRY_COMPARE(shown->geometry(), frame->rect());
        PaintedRegion regions(box);
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QTRY_VERIFY(regions.region().contains(box->rect())); // shown once, whole
        regions.clear();

        for (QLineEdit* next : {second, first, second}) {
            next->setFocus();
            QTRY_VERIFY(next->hasFocus());
        }
        QTRY_VERIFY(!regions.region().isEmpty()); // the fields repaint
        const QRect left(0, 0, 4, box->height());
        const QRect right(box->width() - 4, 0, 4, box->height());
        QVERIFY(!regions.region().intersects(left));
        QVERIFY(!regions.region().intersects(right));

        // Restored, it has the frame of an MDI child around its contents.
        frame->showNormal();
        const int frameWidth =
            QApplication::style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
        QVERIFY(frameWidth > 0);
        QTRY_COMPARE(shown->x(), frameWidth);
    }
};

QTEST_MAIN(TestMdiChild)
#include "tst_mdichild.moc"
