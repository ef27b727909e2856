// The two plan windows: a click on a class in 学期/班级/科目对应设置, the next
// term in 学期/班级对应关系设置.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "widgets/TermClassTree.h"

#include <QAbstractItemView>
#include <QTest>

namespace bench {

namespace {

const Action ClassClick{"学期/班级/科目对应设置: click on a class", Kind::Read};
const Action NextTerm{"学期/班级对应关系设置: next term", Kind::Read};

void measureClassToSubject(Stage& stage)
{
    Figures& f = stage.add(ClassClick);
    stage.inModal("N6", [&](QWidget* window) {
        auto* tree = window->findChild<TTermClassTree*>();
        QWidget* planned = GridViewport(window, "DBGridEh1");
        if (!tree || !planned) {
            stage.fault(f, QStringLiteral("the window lacks its tree or grid"));
            return;
        }
        for (int i = 0; i < stage.timedRuns(); ++i)
            stage.timeClassClick(f, tree, Is(planned), i);
    });
}

void measureTermToClass(Stage& stage)
{
    Figures& f = stage.add(NextTerm);
    stage.inModal("N5", [&](QWidget* window) {
        auto* terms = window->findChild<QAbstractItemView*>(QStringLiteral("DBGridEh1"));
        QWidget* active = GridViewport(window, "DBGridEh2");
        if (!terms || !active) {
            stage.fault(f, QStringLiteral("the window lacks its grids"));
            return;
        }
        for (int i = 0; i < stage.timedRuns(); ++i)
            stage.timeNextRow(f, terms, Is(active));
    });
}

} // namespace

const Driver ClassToSubjectDriver{{ClassClick}, &measureClassToSubject};
const Driver TermToClassDriver{{NextTerm}, &measureTermToClass};

} // namespace bench
