// The roster (学生基本资料维护): the students of the next class.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include <QAbstractItemView>
#include <QTest>

namespace bench {

namespace {

const Action NextClass{"学生基本资料维护: roster of a class (next class)", Kind::Read};

void measure(Stage& stage)
{
    Figures& f = stage.add(NextClass);
    stage.inModal("mnuSBase", [&](QWidget* window) {
        auto* classes = window->findChild<QAbstractItemView*>(QStringLiteral("DBGridEh1"));
        QWidget* students = GridViewport(window, "DBGridEh2");
        if (!classes || !students) {
            stage.fault(f, QStringLiteral("the window lacks its grids"));
            return;
        }
        for (int i = 0; i < stage.timedRuns(); ++i)
            stage.timeNextRow(f, classes, Is(students));
    });
}

} // namespace

const Driver RosterDriver{{NextClass}, &measure};

} // namespace bench
