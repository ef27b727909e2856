// What a class did: the statistics window's class click with its summary
// rows and places switched off (to weigh what they cost), its 统计分析 page,
// a student's history (成绩走势) and 班级成绩对比 of a whole term.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "statistics/uGradeCount.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QTabWidget>

namespace bench {

namespace {

const Action ClickBare{"成绩统计: click on a class, summaries and places off", Kind::Read};
const Action Analysis{"成绩统计: the 统计分析 page of a class", Kind::Read};
const Action History{"成绩走势: a student's history", Kind::History};
const Action Compare{"班级成绩对比: a term of every class", Kind::Survey};

void measureStatistics(Stage& stage)
{
    Figures* bare = stage.wanted(ClickBare) ? &stage.add(ClickBare) : nullptr;
    Figures* analysis = stage.wanted(Analysis) ? &stage.add(Analysis) : nullptr;
    Figures* history = stage.wanted(History) ? &stage.add(History) : nullptr;
    auto* window = qobject_cast<TfrmGradeCount*>(stage.openMdiChild("mnuGCount"));
    if (!window) {
        for (Figures* f : {bare, analysis, history})
            if (f)
                stage.fault(*f, QStringLiteral("the statistics window did not open"));
        stage.closeMdiChildren();
        return;
    }
    TTermClassTree* tree = window->tree();
    const auto onGrid = Is(GridViewport(window, "Grid"));
    QWidget* main = stage.mainWindow();
    for (int i = 0; i < stage.timedRuns(); ++i) {
        if (bare) {
            window->setFiguresShown(false);
            stage.timeClassClick(*bare, tree, onGrid, i);
            window->setFiguresShown(true);
        }
        OpenTerm(tree, stage.termOf(i));
        ClickNode(tree, ClassNode(tree, stage.termOf(i), stage.classOf(i)));
        stage.settle();
        if (history) {
            window->grid()->setCurrentRow(i % std::max(1, window->grid()->rowCount() - 1) + 1);
            stage.time(
                *history, OutsideOf(main), [&] { ClickButton(window, "cmdTrend"); }, {},
                Stage::Then::CloseModal);
        }
        if (analysis) {
            QTabWidget* pages = window->pages();
            QWidget* page = pages->widget(1);
            stage.time(*analysis, InsideNamed(page->objectName()), [&] { pages->setCurrentIndex(1); });
            pages->setCurrentIndex(0);
            stage.settle();
        }
    }
    stage.closeMdiChildren();
}

void measureComparison(Stage& stage)
{
    Figures& f = stage.add(Compare);
    QWidget* window = stage.openMdiChild("mnuClassCompare");
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    if (!tree) {
        stage.fault(f, QStringLiteral("班级成绩对比 did not open with its tree"));
        stage.closeMdiChildren();
        return;
    }
    const auto onGrid = Is(GridViewport(window, "Grid"));
    for (int i = 0; i < stage.timedRuns(); ++i)
        stage.time(f, onGrid, [&] { ClickNode(tree, TermNode(tree, stage.termOf(i))); });
    stage.closeMdiChildren();
}

void measure(Stage& stage)
{
    if (stage.wanted(ClickBare) || stage.wanted(Analysis) || stage.wanted(History))
        measureStatistics(stage);
    if (stage.wanted(Compare))
        measureComparison(stage);
}

} // namespace

const Driver AnalysisDriver{{ClickBare, Analysis, History, Compare}, &measure};

} // namespace bench
