// Opening the modal windows from the main window's menu, until each is painted.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

namespace bench {

namespace {

struct Opening {
    Action action;
    const char* menuItem;
};

const Opening openings[] = {
    {{"open 学期信息维护 (terms)", Kind::Read}, "mnuXQ"},
    {{"open 科目信息维护 (subjects)", Kind::Read}, "mnuKM"},
    {{"open 班级信息维护 (classes)", Kind::Read}, "mnuBJ"},
    {{"open 学期/班级对应关系设置", Kind::Read}, "N5"},
    {{"open 学期/班级/科目对应设置", Kind::Read}, "N6"},
    {{"open 学生基本资料维护 (roster)", Kind::Read}, "mnuSBase"},
    {{"open 优生评定标准", Kind::Read}, "mnuIsY"},
    {{"open 学生成绩录入", Kind::Read}, "mnuEditCJ"},
};

std::vector<Action> actions()
{
    std::vector<Action> list;
    for (const Opening& opening : openings)
        list.push_back(opening.action);
    return list;
}

void measure(Stage& stage)
{
    QWidget* main = stage.mainWindow();
    for (const Opening& opening : openings) {
        if (!stage.wanted(opening.action))
            continue;
        Figures& f = stage.add(opening.action);
        for (int i = 0; i < stage.timedRuns(); ++i)
            stage.time(
                f, OutsideOf(main), [&] { TriggerMenuItem(main, opening.menuItem); }, {},
                Stage::Then::CloseModal);
    }
}

} // namespace

const Driver OpeningDriver{actions(), &measure};

} // namespace bench
