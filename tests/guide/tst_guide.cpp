// The operation guide on the main window's background: what it reads of the
// school, what it shows after each step, what a click on a box opens, that
// a maximised window covers it, that it leaves the focus and the keys to the
// menu, that the choice to show it is remembered, and what it paints.
#include "TestSupport.h"

#include "data/School.h"
#include "data/SchoolProgress.h"
#include "data/uDM.h"
#include "guide/OperationGuide.h"
#include "shell/Application.h"
#include "shell/GuideSteps.h"
#include "shell/uMain.h"

#include <QAction>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {

// The boxes in the order of the work.
enum Box {
    TermBox,
    SubjectBox,
    ClassBox,
    TermToClassBox,
    ClassToSubjectBox,
    StudentBox,
    HonoursBox,
    GradeBox,
    QuickEntryBox,
    StatisticsBox,
    BoxCount
};

// The program as it starts, on a fresh data file, its main window the size
// of a 1280 × 1024 screen; the user's choices kept apart.
struct Program {
    TempUserSettings settings;
    ScriptedDialogs dialogs;
    TfrmMain main;
    TempDatabase db;

    Program()
    {
        main.resize(1280, 1024);
        ShowActive(&main);
    }
    TOperationGuide* guide() const { return main.guide(); }
    // The window manager's part once a dialog has gone: the main window active again.
    void activate()
    {
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
    }
    const GuideStep& step(int box) const { return guide()->state().steps.at(box); }
    QStringList details() const
    {
        QStringList texts;
        for (const GuideStep& s : guide()->state().steps)
            texts << (s.done ? QStringLiteral("✓") : QString()) + s.detail;
        return texts;
    }
    // Opens the term window from the menu and does work while it is open,
    // as a user who enters something and closes the window.
    void whileAWindowIsOpen(const std::function<void()>& work)
    {
        QVERIFY(RunInModal([this] { TriggerMenuItem(&main, "mnuXQ"); }, [&work](QWidget*) { work(); }));
    }
    // A click on the screen where the point of the area is: it reaches
    // whatever lies on top there.
    void click(const QPoint& inArea)
    {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          guide()->viewport()->mapTo(&main, inArea));
    }
    void click(const QRect& rect) { click(rect.center()); }
};

QString captionOfWindowOpenedBy(const std::function<void()>& input)
{
    QString caption;
    OnNextModal([&caption](QWidget* w) {
        caption = w->windowTitle();
        CloseModal(w);
    });
    input();
    return caption;
}

} // namespace

class GuideTest : public QObject {
    Q_OBJECT
private slots:
    void progressCountsEveryTable();
    void emptyFileShowsTheFirstStepAndTheDemo();
    void eachStepTicksAndMovesTheNextOn();
    void aMaximisedWindowCoversIt();
    void boxesOpenTheirMenuItemsWindows();
    void menuKeysWorkWithTheGuideShown();
    void choiceIsRememberedPerUser();
    void fitsTheAreaAndIsReadable();
    void screenshotShowsTheDiagram();
};

void GuideTest::progressCountsEveryTable()
{
    TempDatabase db;
    DbValue<SchoolProgress> read = ReadSchoolProgress();
    QVERIFY(read);
    QVERIFY(read->isEmpty());
    // A name typed in is something a restore would replace.
    QVERIFY(School::SetName("实验中学"));
    read = ReadSchoolProgress();
    QVERIFY(read && read->named && !read->isEmpty());
    QVERIFY(School::SetName(""));
    read = ReadSchoolProgress();
    QVERIFY(read && read->isEmpty());

    // Each table on its own makes the school non-empty.
    db.addSubject("PE", "体育");
    read = ReadSchoolProgress();
    QVERIFY(read && !read->isEmpty());
    QCOMPARE(read->subjects, 1);
    QCOMPARE(read->terms, 0);

    db.addTwoTermSchool();
    const int student = db.addStudent("C1", "张三");
    db.addStudent("C1", "李四", "2");
    db.addStandard(1, "C1", "CN", 85);
    read = ReadSchoolProgress();
    QVERIFY(read);
    QCOMPARE(read->terms, 2);
    QCOMPARE(read->subjects, 3); // PE, then the school's own two
    QCOMPARE(read->classes, 2);
    QCOMPARE(read->termClasses, db.count("TTermToClass"));
    QCOMPARE(read->classSubjects, db.count("TClassToSubject"));
    QCOMPARE(read->students, 2);
    QCOMPARE(read->standards, 1);
    QVERIFY(!read->hasScores);
    db.addGrade(1, "C1", student, "CN", 90);
    db.addGrade(1, "C1", student, "MA", 70);
    read = ReadSchoolProgress();
    QVERIFY(read && read->hasScores);

    // Scores alone are something to lose too.
    db.exec("delete from THonoursStd");
    read = ReadSchoolProgress();
    QVERIFY(read && !read->isEmpty() && read->standards == 0);

    // A school that cannot be read is no empty school.
    QFile::remove(db.dataFile());
    db.dm()->close();
    read = ReadSchoolProgress();
    QVERIFY(!read);
}

void GuideTest::emptyFileShowsTheFirstStepAndTheDemo()
{
    Program p;
    TOperationGuide* guide = p.guide();
    QVERIFY(guide->isShown());
    QCOMPARE(guide->state().steps.size(), int(BoxCount));
    QStringList labels;
    for (int i = 0; i < BoxCount; ++i)
        labels << guide->stepLabel(i);
    QCOMPARE(labels,
             (QStringList{"学期信息", "科目信息", "班级信息", "学期/班级对应设置", "学期/班级/科目对应设置",
                          "学生基本信息录入", "成绩评优标准", "成绩录入", "成绩快速录入", "成绩统计"}));
    QCOMPARE(p.details(), (QStringList{"尚未设置", "尚未设置", "尚未设置", "尚未设置", "尚未设置", "尚未录入",
                                       "尚未设置", "尚未录入", "尚未录入", "录入成绩后查看"}));
    QCOMPARE(guide->state().next, int(TermBox));
    QCOMPARE(guide->state().offer.data(), p.main.findChild<QAction*>("actDemoSchool"));
    QVERIFY(!guide->offerRect().isEmpty());
    QVERIFY(p.dialogs.all().isEmpty());
}

void GuideTest::eachStepTicksAndMovesTheNextOn()
{
    Program p;
    struct Stage {
        std::function<void()> enter;
        int next;
        QString detail; // of the box the stage fills
        int box;
    };
    int student = 0;
    const QVector<Stage> stages{
        {[&] { p.db.addTerm(20231, "2023-2024学年第一学期"); }, SubjectBox, "1 个学期", TermBox},
        {[&] {
             p.db.addSubject("CN", "语文");
             p.db.addSubject("MA", "数学");
         },
         ClassBox, "2 个科目", SubjectBox},
        {[&] { p.db.addClass("C1", "一班"); }, TermToClassBox, "1 个班级", ClassBox},
        {[&] { p.db.activate(20231, "C1"); }, ClassToSubjectBox, "1 项对应", TermToClassBox},
        {[&] {
             p.db.plan(20231, "C1", "CN");
             p.db.plan(20231, "C1", "MA");
         },
         StudentBox, "2 门课程", ClassToSubjectBox},
        {[&] { student = p.db.addStudent("C1", "张三"); }, HonoursBox, "1 名学生", StudentBox},
        {[&] { p.db.addStandard(20231, "C1", "CN", 85); }, GradeBox, "1 项标准", HonoursBox},
        {[&] { p.db.addGrade(20231, "C1", student, "CN", 91); }, StatisticsBox, "已有成绩", GradeBox},
    };
    for (const Stage& stage : stages) {
        p.whileAWindowIsOpen(stage.enter);
        const GuideState& state = p.guide()->state();
        QCOMPARE(state.next, stage.next);
        QVERIFY(p.step(stage.box).done);
        QCOMPARE(p.step(stage.box).detail, stage.detail);
        QVERIFY(!state.offer); // from the first row on, there is something to lose
        for (int later = stage.box + 1; later < BoxCount; ++later)
            if (later != QuickEntryBox || stage.box != GradeBox)
                QVERIFY2(!p.step(later).done, qPrintable(p.guide()->stepLabel(later)));
    }
    // Both ways of entering scores are ticked; the statistics are next, unticked.
    QVERIFY(p.step(QuickEntryBox).done);
    QCOMPARE(p.step(StatisticsBox).detail, QString("可以查看统计"));
    QVERIFY(!p.step(StatisticsBox).done);

    // A step emptied again is the next one, whatever comes after it.
    p.whileAWindowIsOpen([&] { p.db.exec("delete from THonoursStd"); });
    QCOMPARE(p.guide()->state().next, int(HonoursBox));
    QCOMPARE(p.step(HonoursBox).detail, QString("尚未设置"));
    QVERIFY(p.step(GradeBox).done);
    QVERIFY(p.dialogs.all().isEmpty());
}

void GuideTest::aMaximisedWindowCoversIt()
{
    Program p;
    p.db.addTwoTermSchool();
    p.whileAWindowIsOpen([] {});
    const QRect termBox = p.guide()->stepRect(TermBox);
    QVERIFY(TriggerMenuItem(&p.main, "mnuGCount"));
    QCOMPARE(p.guide()->subWindowList().size(), 1);
    QVERIFY(p.guide()->isCovered());
    QMdiSubWindow* window = p.guide()->subWindowList().first();
    QTRY_VERIFY(window->isMaximized());

    // Data entered meanwhile is not read while nothing of the guide shows…
    p.db.addClass("C3", "三班");
    QVERIFY(RunInModal([&p] { TriggerMenuItem(&p.main, "mnuBJ"); }, [](QWidget*) {}));
    QCOMPARE(p.step(ClassBox).detail, QString("2 个班级"));
    // …and a click where a box would be reaches the window over it, not the guide.
    bool opened = false;
    OnNextModal(
        [&opened](QWidget* w) {
            opened = true;
            CloseModal(w);
        },
        300);
    p.click(termBox);
    Settle(400);
    QVERIFY(!opened);

    // Once the window is no longer maximised the guide reads again, and once more when it closes.
    window->showNormal();
    QTRY_COMPARE(p.step(ClassBox).detail, QString("3 个班级"));
    p.db.addClass("C4", "四班");
    window->close();
    QTRY_COMPARE(p.step(ClassBox).detail, QString("4 个班级"));
    QVERIFY(p.guide()->subWindowList().isEmpty());
}

void GuideTest::boxesOpenTheirMenuItemsWindows()
{
    Program p;
    p.db.addTwoTermSchool();
    const QStringList captions{
        "学期信息维护",           "科目信息维护",     "班级信息",     "学期/班级对应关系设置",
        "学期/班级/科目对应设置", "学生基本资料维护", "优生评定标准", "学生成绩录入"};
    const QStringList items{"mnuXQ",  "mnuKM",     "mnuBJ",         "N5",       "N6", "mnuSBase",
                            "mnuIsY", "mnuEditCJ", "mnuQuickEntry", "mnuGCount"};
    for (int box = 0; box < BoxCount; ++box)
        QCOMPARE(p.step(box).action->objectName(), items.at(box));
    for (int box = TermBox; box <= GradeBox; ++box) {
        const QRect rect = p.guide()->stepRect(box);
        QVERIFY(!rect.isEmpty());
        QCOMPARE(captionOfWindowOpenedBy([&] { p.click(rect); }), captions.at(box));
    }
    // The non-modal ones become windows of the area, as from the menu.
    p.click(p.guide()->stepRect(QuickEntryBox));
    QTRY_COMPARE(p.guide()->subWindowList().size(), 1);
    QCOMPARE(p.guide()->subWindowList().first()->widget()->windowTitle(), QString("成绩快速录入"));
    p.guide()->closeAllSubWindows();
    QTRY_VERIFY(p.guide()->subWindowList().isEmpty());
    p.click(p.guide()->stepRect(StatisticsBox));
    QTRY_COMPARE(p.guide()->subWindowList().size(), 1);
    QCOMPARE(p.guide()->subWindowList().first()->widget()->windowTitle(), QString("成绩统计/查询"));
    p.guide()->closeAllSubWindows();

    // A click beside the boxes, or one that leaves the box before release, opens nothing.
    bool opened = false;
    OnNextModal(
        [&opened](QWidget* w) {
            opened = true;
            CloseModal(w);
        },
        300);
    const QRect term = p.guide()->stepRect(TermBox);
    p.click(term.topLeft() - QPoint(12, 12));
    QWindow* screen = p.main.windowHandle();
    QTest::mousePress(screen, Qt::LeftButton, Qt::NoModifier,
                      p.guide()->viewport()->mapTo(&p.main, term.center()));
    QTest::mouseRelease(screen, Qt::LeftButton, Qt::NoModifier,
                        p.guide()->viewport()->mapTo(&p.main, term.bottomRight() + QPoint(30, 30)));
    Settle(400);
    QVERIFY(!opened);
    QVERIFY(p.dialogs.all().isEmpty());
}

void GuideTest::menuKeysWorkWithTheGuideShown()
{
    Program p;
    // After a click on the guide nothing of it holds the focus.
    QCOMPARE(captionOfWindowOpenedBy([&] { p.click(p.guide()->stepRect(SubjectBox)); }),
             QString("科目信息维护"));
    p.activate();
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus != p.guide() && focus != p.guide()->viewport());
    QCOMPARE(p.guide()->focusPolicy(), Qt::NoFocus);
    QCOMPARE(p.guide()->viewport()->focusPolicy(), Qt::NoFocus);

    // Alt+B, then T: the term window, as without the guide.
    QCOMPARE(captionOfWindowOpenedBy([&] {
                 QTest::keyClick(&p.main, Qt::Key_B, Qt::AltModifier);
                 QMenu* menu = nullptr;
                 QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
                 QCOMPARE(menu->title(), QString("基本信息(&B)"));
                 QTest::keyClick(menu, Qt::Key_T);
             }),
             QString("学期信息维护"));
    // Ctrl+K opens the quick entry.
    p.activate();
    QTest::keyClick(&p.main, Qt::Key_K, Qt::ControlModifier);
    QTRY_COMPARE(p.guide()->subWindowList().size(), 1);
    p.guide()->closeAllSubWindows();
    QTRY_VERIFY(p.guide()->subWindowList().isEmpty());
    // Alt+H, then W hides the guide; the same keys show it again.
    for (bool shown : {false, true}) {
        p.activate();
        QTest::keyClick(&p.main, Qt::Key_H, Qt::AltModifier);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
        QTest::keyClick(menu, Qt::Key_W);
        QTRY_COMPARE(p.guide()->isShown(), shown);
    }
    // Keys sent to the area itself do nothing to it.
    const GuideState before = p.guide()->state();
    QTest::keyClick(p.guide()->viewport(), Qt::Key_Return);
    QTest::keyClick(p.guide()->viewport(), Qt::Key_Space);
    Settle();
    QCOMPARE(p.guide()->state().next, before.next);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void GuideTest::choiceIsRememberedPerUser()
{
    TempUserSettings settings;
    ScriptedDialogs dialogs;
    {
        TfrmMain main;
        TempDatabase db;
        QStringList items;
        for (QAction* a : main.menuBar()->actions().last()->menu()->actions())
            items << a->objectName() + ":" + a->text();
        QCOMPARE(items, (QStringList{"mnuGuide:操作向导(&W)", "A1:关于(&A)"}));
        auto* item = main.findChild<QAction*>("mnuGuide");
        QVERIFY(item->isCheckable() && item->isChecked()); // shown until the user says otherwise
        main.resize(1280, 1024);
        ShowActive(&main);
        QVERIFY(!main.guide()->stepRect(TermBox).isEmpty());
        QVERIFY(TriggerMenuItem(&main, "mnuGuide"));
        QVERIFY(!main.guide()->isShown());
        QVERIFY(!item->isChecked());
        QVERIFY(main.guide()->stepRect(TermBox).isEmpty());
        // Hidden, a click on the background opens nothing.
        bool opened = false;
        OnNextModal(
            [&opened](QWidget* w) {
                opened = true;
                CloseModal(w);
            },
            300);
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          main.guide()->viewport()->mapTo(&main, main.guide()->viewport()->rect().center()));
        Settle(400);
        QVERIFY(!opened);
    }
    {
        TfrmMain main;
        QVERIFY(!main.findChild<QAction*>("mnuGuide")->isChecked());
        QVERIFY(!main.guide()->isShown());
        QVERIFY(TriggerMenuItem(&main, "mnuGuide"));
    }
    TfrmMain main;
    QVERIFY(main.guide()->isShown());
}

void GuideTest::fitsTheAreaAndIsReadable()
{
    Program p;
    const auto everyBox = [&p] {
        QRect all = p.guide()->offerRect();
        for (int box = 0; box < BoxCount; ++box)
            all |= p.guide()->stepRect(box);
        return all;
    };
    // At 1280 × 1024 the boxes are drawn full size, and with the offer inside the area.
    QVERIFY(p.guide()->stepRect(TermBox).width() >= 236);
    QVERIFY(p.guide()->viewport()->rect().contains(everyBox()));
    // Boxes do not overlap.
    for (int a = 0; a < BoxCount; ++a)
        for (int b = a + 1; b < BoxCount; ++b)
            QVERIFY(!p.guide()->stepRect(a).intersects(p.guide()->stepRect(b)));
    // A smaller window draws it smaller, still whole.
    p.main.resize(900, 640);
    QTRY_VERIFY(p.guide()->viewport()->height() < 640);
    QVERIFY(p.guide()->viewport()->rect().contains(everyBox()));
    QVERIFY(p.guide()->stepRect(TermBox).width() < 236);
}

void GuideTest::screenshotShowsTheDiagram()
{
    Program p;
    p.db.addTerm(20231, "2023-2024学年第一学期");
    p.whileAWindowIsOpen([] {});
    QTemporaryDir dir;
    const QString file = dir.filePath("guide.png");
    QVERIFY(p.guide()->viewport()->grab().save(file));
    const QImage shot(file);
    QVERIFY(!shot.isNull());
    const qreal ratio = p.guide()->viewport()->devicePixelRatioF();
    const auto at = [&](const QPoint& point) { return shot.pixelColor((QPointF(point) * ratio).toPoint()); };
    // A point of a box, by its share of the box's width and height.
    const auto in = [&](int box, qreal x, qreal y) {
        const QRect r = p.guide()->stepRect(box);
        return QPoint(r.left() + int(x * r.width()), r.top() + int(y * r.height()));
    };
    const QColor background = at(QPoint(2, 2));
    // The done box white, the next one in the highlight's colour, the area's own colour around the panel.
    QCOMPARE(at(in(TermBox, 0.9, 0.08)), QColor(Qt::white));
    QCOMPARE(at(in(SubjectBox, 0.9, 0.08)), QColor(224, 234, 251));
    QCOMPARE(at(in(ClassBox, 0.9, 0.08)), QColor(Qt::white));
    QVERIFY(background != QColor(Qt::white));
    const auto countIn = [&](int box, QRectF share, const std::function<bool(const QColor&)>& wanted) {
        const QPoint from = in(box, share.left(), share.top());
        const QPoint to = in(box, share.right(), share.bottom());
        int n = 0;
        for (int y = from.y(); y < to.y(); ++y)
            for (int x = from.x(); x < to.x(); ++x)
                n += wanted(at(QPoint(x, y)));
        return n;
    };
    // The labels are drawn: dark pixels in every box's label line.
    for (int box = 0; box < BoxCount; ++box) {
        const int dark =
            countIn(box, QRectF(0.06, 0.15, 0.35, 0.35), [](const QColor& c) { return c.lightness() < 100; });
        QVERIFY2(dark > 40, qPrintable(p.guide()->stepLabel(box)));
    }
    // The tick of the done step is green, and the others have none.
    const auto green = [](const QColor& c) { return c.green() > 80 && c.red() < 60 && c.blue() < 60; };
    QVERIFY(countIn(TermBox, QRectF(0.05, 0.58, 0.08, 0.3), green) > 5);
    QCOMPARE(countIn(ClassBox, QRectF(0.05, 0.58, 0.08, 0.3), green), 0);

    // Hidden, the area is one colour again.
    QVERIFY(TriggerMenuItem(&p.main, "mnuGuide"));
    const QImage plain = p.guide()->viewport()->grab().toImage();
    const QColor first = plain.pixelColor(0, 0);
    for (int y = 0; y < plain.height(); y += 7)
        for (int x = 0; x < plain.width(); x += 7)
            QVERIFY(plain.pixelColor(x, y) == first);
}

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    GuideTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_guide.moc"
