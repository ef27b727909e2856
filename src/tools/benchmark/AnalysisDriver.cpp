// What a class did: the statistics window's class click with its summary
// rows and places switched off (to weigh what they cost), its 统计分析 page,
// a student's history (成绩走势) and 班级成绩对比 of a whole term.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "statistics/uGradeCount.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>

namespace bench {

namespace {

const Action ClickBare{"成绩统计: click on a class, summaries and places off", Kind::Read};
const Action Analysis{"成绩统计: the 统计分析 page of a class", Kind::Read};
const Action History{"成绩走势: a student's history", Kind::History};
const Action Compare{"班级成绩对比: a term of every class", Kind::Survey};

QMdiArea* areaOf(Stage& stage)
{
    return stage.mainWindow()->findChild<QMdiArea*>();
}

void closeAll(Stage& stage)
{
    areaOf(stage)->closeAllSubWindows();
    stage.settle();
}

// The window that the menu item opened inside the main window, or nullptr.
template <class Window> Window* openChild(Stage& stage, const char* menuItem)
{
    TriggerMenuItem(stage.mainWindow(), menuItem);
    stage.settle();
    QMdiSubWindow* frame = areaOf(stage)->subWindowList().value(0);
    return frame ? qobject_cast<Window*>(frame->widget()) : nullptr;
}

void measureStatistics(Stage& stage)
{
    Figures* bare = stage.wanted(ClickBare) ? &stage.add(ClickBare) : nullptr;
    Figures* analysis = stage.wanted(Analysis) ? &stage.add(Analysis) : nullptr;
    Figures* history = stage.wanted(History) ? &stage.add(History) : nullptr;
    auto* window = openChild<TfrmGradeCount>(stage, "mnuGCount");
    if (!window) {
        for (Figures* f : {bare, analysis, history})
            if (f)
                stage.fault(*f, QStringLiteral("the statistics window did not open"));
        closeAll(stage);
        return;
    }
    TTermClassTree* tree = window->tree();
    const auto onGrid = Is(GridViewport(window, "Grid"));
    QWidget* main = stage.mainWindow();
    for (int i = 0; i < stage.timedRuns(); ++i) {
        const int term = stage.termOf(i);
        OpenTerm(tree, term);
        stage.settle();
        if (bare) {
            window->setFiguresShown(false);
            stage.time(*bare, onGrid, [&] { ClickNode(tree, ClassNode(tree, term, stage.classOf(i))); });
            window->setFiguresShown(true);
        }
        ClickNode(tree, ClassNode(tree, term, stage.classOf(i)));
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
    closeAll(stage);
}

void measureComparison(Stage& stage)
{
    Figures& f = stage.add(Compare);
    QWidget* window = openChild<QWidget>(stage, "mnuClassCompare");
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    if (!tree) {
        stage.fault(f, QStringLiteral("班级成绩对比 did not open with its tree"));
        closeAll(stage);
        return;
    }
    const auto onGrid = Is(GridViewport(window, "Grid"));
    for (int i = 0; i < stage.timedRuns(); ++i)
        stage.time(f, onGrid, [&] { ClickNode(tree, TermNode(tree, stage.termOf(i))); });
    closeAll(stage);
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
