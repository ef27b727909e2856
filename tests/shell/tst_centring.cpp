// Windows that open in the middle of the screen: centred on the available area
// of the main window's screen by their frame, before they are first painted,
// and only when first shown.
#include "forms/Form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPaintEvent>
#include <QScreen>
#include <QTemporaryFile>
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
        // Alone, and with the main window on the second screen: Qt's own
        // placement guesses the frame, and takes the screen under the mouse.
        QCOMPARE(QGuiApplication::screens().size(), 2);
        for (QScreen* mainScreen : {static_cast<QScreen*>(nullptr), QGuiApplication::screens().at(1)}) {
            std::unique_ptr<QMainWindow> main;
            if (mainScreen) {
                main = std::make_unique<QMainWindow>();
                main->resize(300, 200);
                main->move(mainScreen->geometry().topLeft() + QPoint(40, 30));
                main->show();
                QVERIFY(QTest::qWaitForWindowExposed(main.get()));
                QCOMPARE(main->screen(), mainScreen);
            }
            for (const QSize size : {QSize(284, 107), QSize(419, 264), QSize(251, 121)}) {
                Probe probe(size);
                probe.show();
                QTRY_VERIFY(probe.frameAtFirstPaint.has_value());
                const QRect area = (mainScreen ? mainScreen : probe.screen())->availableGeometry();
                const QRect frame = *probe.frameAtFirstPaint;
                QVERIFY2(centredIn(frame, area), qPrintable(QStringLiteral("frame %1,%2 %3x%4 in %5,%6 %7x%8")
                                                                .arg(frame.x())
                                                                .arg(frame.y())
                                                                .arg(frame.width())
                                                                .arg(frame.height())
                                                                .arg(area.x())
                                                                .arg(area.y())
                                                                .arg(area.width())
                                                                .arg(area.height())));
                QVERIFY(frame.size() != size); // the frame has a width of its own
                QTRY_VERIFY(centredIn(probe.frameGeometry(), area));
            }
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

// Two screens side by side whose windows have a frame, as on a desktop.
int main(int argc, char** argv)
{
    QTemporaryFile config;
    if (!config.open())
        return 1;
    config.write(R"({"windowFrameMargins": true, "screens": [
        {"name": "left", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1},
        {"name": "right", "x": 1024, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "dpr": 1}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    CentringTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_centring.moc"
