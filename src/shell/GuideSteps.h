#pragma once

#include "data/SchoolProgress.h"
#include "guide/OperationGuide.h"

#include <optional>

class QAction;

// The commands behind the operation guide's boxes: the main window's own
// menu items, so that a box opens the very window its item opens.
struct GuideCommands {
    QAction* term = nullptr;
    QAction* subject = nullptr;
    QAction* klass = nullptr;
    QAction* termToClass = nullptr;
    QAction* classToSubject = nullptr;
    QAction* student = nullptr;
    QAction* honours = nullptr;
    QAction* grade = nullptr;
    QAction* quickEntry = nullptr;
    QAction* statistics = nullptr;
    QAction* demoSchool = nullptr; // offered only while the school is empty
};

// The texts of the guide's lines.
namespace GuideText {
inline const QString NotSet = QStringLiteral("尚未设置");
inline const QString NotEntered = QStringLiteral("尚未录入");
inline const QString HasScores = QStringLiteral("已有成绩");
inline const QString StatisticsReady = QStringLiteral("可以查看统计");
inline const QString StatisticsLater = QStringLiteral("录入成绩后查看");
inline const QString DemoOffer =
    QStringLiteral("还没有任何数据：可以先载入一所示例学校，看看各个窗口的样子。");
} // namespace GuideText

// What the guide shows of the school's progress: the steps in the order a
// school is set up, a tick and a count for each that holds data, the first
// that holds none as the next step (成绩统计 once all do), and the demo
// school while every table is empty. Without a progress (it could not be
// read) the boxes carry no tick, no step is next and nothing is offered.
GuideState GuideStateOf(const std::optional<SchoolProgress>& progress, const GuideCommands& commands);
