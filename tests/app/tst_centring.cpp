// Windows that open in the middle of the screen: centred on the available area
// of the main window's screen by their frame, before they are first painted,
// and only when first shown.
#include "app/Form.h"

#include <QMainWindow>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <optional>

namespace {

// A window that notes where its frame was when it was first painted.
class Probe : public TForm {
public:
    explicit Probe(QSize size) { setFixedClientSize(size.width(), size.height()); }

    std::optional<QRect> frameAtFirstPaint;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!frameAtFirstPaint)
            frameAtFirstPaint = frameOf(this);
        TForm::paintEvent(event);
    }

public:
    static QRect frameOf(const QWidget* widget)
    {
        const QWindow* window = widget->windowHandle();
        return QRect(window->framePosition(), window->size().grownBy(window->frameMargins()));
    }
};

// The gaps on either side of the frame differ by a pixel at most.
bool centredIn(const QRect& frame, const QRect& area)
{
    const int horizontal = (frame.left() - area.left()) - (area.right() - frame.right());
    const int vertical = (frame.top() - area.top()) - (area.bottom() - frame.bottom());
    return qAbs(horizontal) <= 1 && qAbs(vertical) <= 1;
}

} // namespace

class CentringTest : public QObject {
    Q_OBJECT

private slots:
    void centredByItsFrameBeforeTheFirstPaint()
    {
        QMainWindow main;
        main.resize(300, 200);
        main.move(0, 0);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QRect area = main.screen()->availableGeometry();

        for (const QSize size : {QSize(284, 107), QSize(419, 264), QSize(251, 121)}) {
            Probe probe(size);
            probe.show();
            QTRY_VERIFY(probe.frameAtFirstPaint.has_value());
            QVERIFY2(centredIn(*probe.frameAtFirstPaint, area),
                     qPrintable(QStringLiteral("frame %1,%2 %3x%4 in %5x%6")
                                    .arg(probe.frameAtFirstPaint->x())
                                    .arg(probe.frameAtFirstPaint->y())
                                    .arg(probe.frameAtFirstPaint->width())
                                    .arg(probe.frameAtFirstPaint->height())
                                    .arg(area.width())
                                    .arg(area.height())));
            QTRY_VERIFY(centredIn(probe.frameGeometry(), area));
        }
    }

    void aWindowMovedByTheUserStaysWhereItWasPut()
    {
        Probe probe(QSize(200, 100));
        probe.show();
        QTRY_VERIFY(probe.frameAtFirstPaint.has_value());
        const QPoint put = probe.screen()->availableGeometry().topLeft() + QPoint(7, 9);
        probe.move(put);
        QTRY_COMPARE(probe.pos(), put);
        probe.hide();
        probe.show();
        QVERIFY(QTest::qWaitForWindowExposed(&probe));
        QCoreApplication::processEvents(); // what the expose set off has run
        QCOMPARE(probe.pos(), put);
    }

    void aWindowLargerThanTheAreaKeepsItsTitleOnScreen()
    {
        Probe sizing(QSize(10, 10));
        const QRect area = sizing.screen()->availableGeometry();
        Probe probe(area.size() + QSize(200, 200));
        probe.show();
        QTRY_VERIFY(probe.frameAtFirstPaint.has_value());
        QCOMPARE(probe.frameAtFirstPaint->topLeft(), area.topLeft());
    }
};

QTEST_MAIN(CentringTest)
#include "tst_centring.moc"
