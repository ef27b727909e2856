// The statistics window (成绩统计), an MDI child of the main window: opening
// it, a click on a class, and 过滤并排序.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "widgets/TermClassTree.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace bench {

namespace {

const Action Open{"open 成绩统计/查询 (statistics)", Kind::Read};
const Action Click{"成绩统计: click on a class (table, marks, previous term)", Kind::Read};
const Action Filter{"成绩统计: 过滤并排序 (rebuild, sort, hide)", Kind::Read};

const char* const kMenuItem = "mnuGCount";
const QString kWindow = QStringLiteral("frmGradeCount");

void measureOpening(Stage& stage)
{
    QWidget* main = stage.mainWindow();
    Figures& f = stage.add(Open);
    for (int i = 0; i < stage.timedRuns(); ++i) {
        stage.time(f, InsideNamed(kWindow), [main] { TriggerMenuItem(main, kMenuItem); });
        stage.closeMdiChildren();
    }
}

void measureTable(Stage& stage)
{
    Figures& click = stage.add(Click);
    Figures& sorted = stage.add(Filter);
    QWidget* window = stage.openMdiChild(kMenuItem);
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    auto* subjects = window ? window->findChild<QComboBox*>(QStringLiteral("cmbSubj")) : nullptr;
    auto* lower = window ? window->findChild<QLineEdit*>(QStringLiteral("MaskEdit1")) : nullptr;
    auto* upper = window ? window->findChild<QLineEdit*>(QStringLiteral("MaskEdit2")) : nullptr;
    if (!tree || !subjects || !lower || !upper) {
        stage.fault(click, QStringLiteral("the statistics window did not open with its controls"));
        stage.fault(sorted, QStringLiteral("the statistics window did not open with its controls"));
        stage.closeMdiChildren();
        return;
    }
    const auto onGrid = Is(GridViewport(window, "Grid"));
    for (int i = 0; i < stage.timedRuns(); ++i) {
        stage.timeClassClick(click, tree, onGrid, i);
        subjects->setCurrentIndex(1 + i % std::max(1, subjects->count() - 1));
        lower->setText(QStringLiteral("60"));
        upper->setText(QStringLiteral("100"));
        stage.time(sorted, onGrid, [&] { ClickButton(window, "cmdFilter"); });
    }
    stage.closeMdiChildren();
}

void measure(Stage& stage)
{
    if (stage.wanted(Open))
        measureOpening(stage);
    if (stage.wanted(Click) || stage.wanted(Filter))
        measureTable(stage);
}

} // namespace

const Driver StatisticsDriver{{Open, Click, Filter}, &measure};

} // namespace bench
