// Honours standards (优生评定标准): a click on a class, and 标准初始化 of one class.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "widgets/TermClassTree.h"

namespace bench {

namespace {

const Action Click{"优生评定标准: click on a class", Kind::Read};
const Action Initialisation{"标准初始化: one class (one transaction)", Kind::Write};

const char* const kMenuItem = "mnuIsY";

void measureClick(Stage& stage)
{
    Figures& f = stage.add(Click);
    stage.inModal(kMenuItem, [&](QWidget* window) {
        auto* tree = window->findChild<TTermClassTree*>();
        QWidget* standards = GridViewport(window, "DBGridEh1");
        if (!tree || !standards) {
            stage.fault(f, QStringLiteral("the window lacks its tree or grid"));
            return;
        }
        for (int i = 0; i < stage.timedRuns(); ++i)
            stage.timeClassClick(f, tree, Is(standards), i);
    });
}

// In the first term, which no other figure reads; one class after the other.
void measureInitialisation(Stage& stage)
{
    Figures& f = stage.add(Initialisation);
    stage.inModal(kMenuItem, [&](QWidget* window) {
        auto* tree = window->findChild<TTermClassTree*>();
        QWidget* standards = GridViewport(window, "DBGridEh1");
        if (!tree || !standards || !Button(window, "cmdAppend")) {
            stage.fault(f, QStringLiteral("the window lacks its tree, grid or 标准初始化"));
            return;
        }
        const QStringList done{QStringLiteral("指定学期，指定班级的评优标准初始化完成！")};
        for (int i = 0; i < stage.timedRuns(); ++i) {
            OpenTerm(tree, 0);
            stage.settle();
            ClickNode(tree, ClassNode(tree, 0, i % stage.shape().classes));
            stage.time(
                f, Is(standards), [&] { ClickButton(window, "cmdAppend"); }, done);
        }
    });
}

} // namespace

const Driver HonoursDriver{{Click}, &measureClick};
const Driver HonoursInitialisationDriver{{Initialisation}, &measureInitialisation};

} // namespace bench
