#pragma once

#include "exchange/RosterImport.h"
#include "exchange/ScoreImport.h"

class QWidget;

// An import from a window, start to end: the file chosen, the sheet read
// and previewed, the user's confirmation, everything stored in one
// transaction with a progress dialog for what takes longer than half a
// second. True when something was stored, so the window reloads.
namespace ImportFlow {

bool ImportRoster(QWidget* parent, const RosterTarget& target);
bool ImportScores(QWidget* parent, const ScoreTarget& target);

} // namespace ImportFlow

namespace TransferText {
inline const QString ImportStudents = QStringLiteral("导入学生名单");
inline const QString ImportScores = QStringLiteral("导入成绩");
inline const QString StudentsQuestion = QStringLiteral("将新增学生%1人，更新%2人，确认导入吗？");
inline const QString ScoresQuestion = QStringLiteral("将新增成绩%1项，替换成绩%2项，确认导入吗？");
inline const QString Done = QStringLiteral("导入完成！");
inline const QString Cancelled = QStringLiteral("已取消导入，没有存储任何数据！");
inline const QString ChooseClass = QStringLiteral("请先在左侧选择一个班级！");
inline const QString ChooseTerm = QStringLiteral("请先在左侧选择一个学期！");
inline const QString Reading = QStringLiteral("正在读取文件…");
inline const QString Storing = QStringLiteral("正在导入…");
} // namespace TransferText
