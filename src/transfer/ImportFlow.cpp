#include "transfer/ImportFlow.h"

#include "data/Messages.h"
#include "forms/uPub.h"
#include "sheets/SheetFile.h"
#include "transfer/ImportPreviewDialog.h"
#include "transfer/SheetDialogs.h"
#include "transfer/WindowProgress.h"

#include <functional>
#include <optional>

namespace ImportFlow {

namespace {

// What differs between the imports: how a sheet is planned and stored, and
// what is asked before storing.
template <class Plan> struct Kind {
    QString title;
    std::function<DbValue<Plan>(const Sheets::Table&, ImportProgress*)> plan;
    std::function<DbValue<Stored>(const Plan&, ImportProgress*)> store;
    TfrmImportPreview::Question question;
};

template <class Plan> bool Run(QWidget* parent, const Kind<Plan>& kind)
{
    const QString path = SheetDialogs::ChooseImportFile(parent, kind.title);
    if (path.isEmpty())
        return false;
    const Sheets::Result<QStringList> sheets = Sheets::SheetNames(path);
    if (!sheets) {
        ShowMessage(sheets.message());
        return false;
    }
    std::optional<Plan> planned;
    auto planner = [&](const QString& sheet) -> const ImportPreview* {
        planned.reset();
        const Sheets::Result<Sheets::Table> table = Sheets::ReadSheet(path, sheet);
        if (!table) {
            ShowMessage(table.message());
            return nullptr;
        }
        WindowProgress progress(parent, TransferText::Reading);
        DbValue<Plan> plan = kind.plan(*table, &progress);
        if (!Succeeded(plan, Msg::ReadFailed) || plan->cancelled)
            return nullptr;
        planned = std::move(plan.value());
        return &planned->preview;
    };

    TfrmImportPreview preview(path, *sheets, planner, kind.question, parent);
    if (!preview.ReadyData() || preview.exec() != QDialog::Accepted || !planned)
        return false;

    WindowProgress progress(parent, TransferText::Storing);
    const DbValue<Stored> stored = kind.store(*planned, &progress);
    if (!Succeeded(stored, Msg::StoreFailed))
        return false;
    if (*stored == Stored::Cancelled) {
        ShowMessage(TransferText::Cancelled);
        return false;
    }
    ShowMessage(TransferText::Done);
    return true;
}

} // namespace

bool ImportRoster(QWidget* parent, const RosterTarget& target)
{
    const Kind<RosterImport> kind{
        TransferText::ImportStudents,
        [&](const Sheets::Table& sheet, ImportProgress* p) { return PlanRosterImport(sheet, target, p); },
        [](const RosterImport& plan, ImportProgress* p) { return StoreRosterImport(plan, p); },
        [](const ImportPreview& p) { return TransferText::StudentsQuestion.arg(p.added).arg(p.updated); }};
    return Run(parent, kind);
}

bool ImportScores(QWidget* parent, const ScoreTarget& target)
{
    const Kind<ScoreImport> kind{
        TransferText::ImportScores,
        [&](const Sheets::Table& sheet, ImportProgress* p) { return PlanScoreImport(sheet, target, p); },
        [](const ScoreImport& plan, ImportProgress* p) { return StoreScoreImport(plan, p); },
        [](const ImportPreview& p) {
            return TransferText::ScoresQuestion.arg(p.scoresAdded).arg(p.scoresReplaced);
        }};
    return Run(parent, kind);
}

} // namespace ImportFlow
