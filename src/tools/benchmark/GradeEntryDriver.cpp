// Grade entry (学生成绩录入): a click on a class, the change of the current
// student, and 成绩初始化 of one student.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "widgets/TermClassTree.h"

#include <QAbstractItemView>
#include <QTest>

namespace bench {

namespace {

const Action Click{"成绩录入: click on a class (students, first student's scores)", Kind::Read};
const Action Next{"成绩录入: change of the current student", Kind::Read};
const Action Initialisation{"成绩初始化: one student (one transaction)", Kind::Write};

const char* const kMenuItem = "mnuEditCJ";

// The window's parts a user works with.
struct Window {
    explicit Window(QWidget* window)
        : tree(window->findChild<TTermClassTree*>()),
          students(window->findChild<QAbstractItemView*>(QStringLiteral("DBGridEh2"))),
          scores(GridViewport(window, "DBGridEh1"))
    {
    }
    bool complete() const { return tree && students && scores; }

    TTermClassTree* tree;
    QAbstractItemView* students;
    QWidget* scores;
};

void measureReading(Stage& stage)
{
    Figures& click = stage.add(Click);
    Figures& next = stage.add(Next);
    stage.inModal(kMenuItem, [&](QWidget* window) {
        const Window w(window);
        if (!w.complete()) {
            stage.fault(click, QStringLiteral("the window lacks its tree or grids"));
            return;
        }
        for (int i = 0; i < stage.timedRuns(); ++i) {
            stage.timeClassClick(click, w.tree, Is(w.students->viewport()), i);
            stage.time(next, Is(w.scores), [&] { QTest::keyClick(w.students, Qt::Key_Down); });
        }
    });
}

// In the first term, which no other figure reads.
void measureInitialisation(Stage& stage)
{
    Figures& f = stage.add(Initialisation);
    stage.inModal(kMenuItem, [&](QWidget* window) {
        const Window w(window);
        if (!w.complete() || !Button(window, "cmdAppend")) {
            stage.fault(f, QStringLiteral("the window lacks its tree, grids or 成绩初始化"));
            return;
        }
        OpenTerm(w.tree, 0);
        ClickNode(w.tree, ClassNode(w.tree, 0, 0));
        stage.settle();
        for (int i = 0; i < stage.timedRuns(); ++i) {
            // Each run initialises the next student, from the first again after the last.
            const bool last = w.students->currentIndex().row() + 1 >= w.students->model()->rowCount();
            QTest::keyClick(w.students, last ? Qt::Key_Home : Qt::Key_Down,
                            last ? Qt::ControlModifier : Qt::NoModifier);
            stage.time(f, Is(w.scores), [&] { ClickButton(window, "cmdAppend"); });
        }
    });
}

} // namespace

const Driver GradeEntryDriver{{Click, Next}, &measureReading};
const Driver GradeInitialisationDriver{{Initialisation}, &measureInitialisation};

} // namespace bench
