#pragma once

#include "data/DbResult.h"
#include "exchange/ScoreImport.h"
#include "sheets/Table.h"

// The sheets the program writes out of its own tables. Each has a title line
// and a header row, both frozen; the header is the layout the imports read.
namespace Exports {

// A class's students under the roster's titles, in the roster's order, the
// flags as the roster shows them (是/否, 有/无, 在校/否), 学号, 邮编 and
// 家庭电话 as text cells.
DbValue<Sheets::Table> ClassRoster(const QString& classCode, const QString& className);
// Every student of the school, with the column "班级" first.
DbValue<Sheets::Table> SchoolRoster();
// The roster's titles alone: what the roster import expects.
Sheets::Table RosterTemplate();

// A class's score sheet for a term: 姓名, 学号, the subjects of its plan and
// 总分, one row per student in the roster's order, each stored score as a
// number and a missing one blank. Without scores it is the layout the score
// import expects.
DbValue<Sheets::Table> ScoreSheet(const ScoreTarget& target, const QString& termName, bool withScores);

// The look of the program's sheets, written once.
Sheets::CellFormat HeaderFormat();
Sheets::CellFormat TextCellFormat(); // digits kept as text

} // namespace Exports
