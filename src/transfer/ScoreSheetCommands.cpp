#include "transfer/ScoreSheetCommands.h"

#include "data/Messages.h"
#include "data/SqlText.h"
#include "exchange/Exports.h"
#include "forms/uPub.h"
#include "transfer/ImportFlow.h"
#include "transfer/SheetDialogs.h"
#include "widgets/TermClassTree.h"

namespace ScoreSheetCommands {

namespace {

std::optional<ScoreTarget> targetOf(const ClassSelection& shown)
{
    if (shown.isEmpty()) {
        ShowMessage(TransferText::ChooseClass);
        return std::nullopt;
    }
    return ScoreTarget{StrToInt(shown.TermCode), shown.ClassCode, shown.ClassName};
}

} // namespace

void Export(QWidget* window, const ClassSelection& shown, bool withScores)
{
    const std::optional<ScoreTarget> target = targetOf(shown);
    if (!target)
        return;
    const DbValue<Sheets::Table> table = Exports::ScoreSheet(*target, shown.TermName, withScores);
    if (Succeeded(table, Msg::ReadFailed))
        SheetDialogs::ExportTable(window, *table,
                                  {shown.TermName, shown.ClassName,
                                   withScores ? QStringLiteral("成绩") : QStringLiteral("成绩模板")});
}

bool Import(QWidget* window, const ClassSelection& shown)
{
    const std::optional<ScoreTarget> target = targetOf(shown);
    return target && ImportFlow::ImportScores(window, *target);
}

} // namespace ScoreSheetCommands
