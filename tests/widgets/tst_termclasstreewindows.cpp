// The navigator in each of the four windows that carry it: what the user sees
// after a click below the last node and after the plan changed, and the
// message when the plan cannot be read.
#include "TestSupport.h"

#include "data/Messages.h"
#include "plan/uClassToSubject.h"
#include "scores/uGrade.h"
#include "scores/uHonoursStd.h"
#include "statistics/uGradeCount.h"
#include "widgets/TermClassTree.h"

#include <QImage>
#include <QTest>
#include <QTreeWidget>

namespace {

// The two-term school, with scores and a standard for C1 in term 1.
struct School {
    TempDatabase db;

    School()
    {
        db.addTwoTermSchool();
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("CN"), 90);
        for (const char* name : {"王一", "李二"}) {
            const int student = db.addStudent(QStringLiteral("C1"), QString::fromUtf8(name));
            db.addGrade(1, QStringLiteral("C1"), student, QStringLiteral("CN"), 88);
            db.addGrade(1, QStringLiteral("C1"), student, QStringLiteral("MA"), 55);
        }
    }
};

template <class Window> void checkWindow()
{
    School school;
    ScriptedDialogs dialogs;
    {
        Window window;
        QVERIFY(window.ReadyData());
        window.resize(900, 600); // the statistics window; the others keep their fixed size
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* tree = window.template findChild<TTermClassTree*>();
        QVERIFY(tree);
        QWidget* viewport = tree->Tree()->viewport();
        ClickNode(tree, ClassNode(tree, 0, 0));
        const ClassSelection shown = tree->ShownClass();
        QCOMPARE(shown.ClassCode, QStringLiteral("C1"));

        // A click below the last node changes nothing the user can see.
        QTest::mouseMove(viewport, QPoint(5, viewport->height() - 3));
        Settle();
        const QImage before = window.grab().toImage();
        ClickBlank(tree);
        QCOMPARE(window.grab().toImage(), before);
        QVERIFY(tree->ShownClass() == shown);

        // A class made active after the window opened is not in a term opened later.
        school.db.activate(2, QStringLiteral("C2"));
        QTreeWidgetItem* second = TermNode(tree, 1);
        ClickNode(tree, second);
        QCOMPARE(second->childCount(), 1);
        QVERIFY(dialogs.all().isEmpty());
    }

    // A plan that cannot be read: the fixed message, and the window does not open.
    school.db.exec(QStringLiteral("alter table TTermToClass rename to TGone"));
    Window window;
    QVERIFY(!window.ReadyData());
    QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
}

} // namespace

class TermClassTreeWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void classToSubject() { checkWindow<TfrmClassToSubject>(); }
    void honoursStandards() { checkWindow<TfrmHonoursStd>(); }
    void gradeEntry() { checkWindow<TfrmGrade>(); }
    void statistics() { checkWindow<TfrmGradeCount>(); }
};

QTEST_MAIN(TermClassTreeWindowsTest)
#include "tst_termclasstreewindows.moc"
