// Spreadsheets in and out: a class's statistics table exported, a whole
// school's roster and a term's scores imported. An import counts from the
// file chosen until its preview is painted, plus from the confirmation to the
// commit; the file dialogs and the user's reading of the preview are left out.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "data/Plan.h"
#include "data/Roster.h"
#include "data/Scores.h"
#include "exchange/Exports.h"
#include "exchange/RosterImport.h"
#include "exchange/ScoreImport.h"
#include "sheets/SheetFile.h"
#include "statistics/uGradeCount.h"
#include "transfer/ImportPreviewDialog.h"
#include "widgets/TermClassTree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

namespace bench {

namespace {

const Action Export{"成绩统计: export a class's table to .xlsx", Kind::Bounded, 100};
const Action RosterIn{"学生名单: import a school's roster of 3,000 (preview + store)", Kind::Bounded, 2000};
const Action ScoresIn{"成绩: import a term's scores of every class (preview + store)", Kind::Bounded, 3000};

// An import takes seconds and rewrites thousands of rows: a few runs tell enough.
constexpr int kImportRuns = 3;

double elapsed(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

void measureExport(Stage& stage, const QString& folder)
{
    Figures& f = stage.add(Export);
    QWidget* main = stage.mainWindow();
    TriggerMenuItem(main, "mnuGCount");
    stage.settle();
    QMdiSubWindow* frame = main->findChild<QMdiArea*>()->subWindowList().value(0);
    auto* window = frame ? qobject_cast<TfrmGradeCount*>(frame->widget()) : nullptr;
    if (!window) {
        stage.fault(f, QStringLiteral("the statistics window did not open"));
        return;
    }
    const QString path = folder + QStringLiteral("/table.xlsx");
    for (int i = 0; i < stage.timedRuns(); ++i) {
        const int term = stage.termOf(i);
        OpenTerm(window->tree(), term);
        ClickNode(window->tree(), ClassNode(window->tree(), term, stage.classOf(i)));
        stage.settle();
        QElapsedTimer clock;
        clock.start();
        const Sheets::Outcome written = Sheets::WriteSheet(path, window->sheet());
        const double ms = elapsed(clock);
        if (!written)
            stage.fault(f, written.message());
        f.record(ms, ms);
    }
    main->findChild<QMdiArea*>()->closeAllSubWindows();
    stage.settle();
}

// The preview of a plan as the user gets it: made, shown and painted.
void showPreview(const QString& path, const ImportPreview& preview)
{
    TfrmImportPreview dialog(
        path, {QStringLiteral("Sheet1")}, [&preview](const QString&) { return &preview; },
        [](const ImportPreview&) { return QString(); });
    dialog.ReadyData();
    dialog.show();
    dialog.repaint();
    QCoreApplication::processEvents();
}

// Times reading, planning and the preview, then storing; false after a fault.
template <class Plan>
bool timeImport(Stage& stage, Figures& f, const QString& path,
                const std::function<DbValue<Plan>(const Sheets::Table&)>& plan,
                const std::function<DbValue<Stored>(const Plan&)>& store, int expected)
{
    QElapsedTimer clock;
    clock.start();
    const Sheets::Result<Sheets::Table> sheet = Sheets::ReadSheet(path);
    if (!sheet) {
        stage.fault(f, sheet.message());
        return false;
    }
    const DbValue<Plan> planned = plan(*sheet);
    if (!planned) {
        stage.fault(f, QStringLiteral("the sheet could not be planned: ") + planned.error());
        return false;
    }
    for (const PreviewRow& row : planned->preview.rows) {
        if (!row.problems.isEmpty()) {
            stage.fault(
                f, QStringLiteral("line %1 of the sheet: %2").arg(row.line).arg(row.problems.join("; ")));
            return false;
        }
    }
    showPreview(path, planned->preview);
    const double previewMs = elapsed(clock);
    clock.restart();
    const int changed = planned->preview.updated + planned->preview.added;
    const DbValue<Stored> stored = store(*planned);
    const double storeMs = elapsed(clock);
    if (!stored || *stored != Stored::Done || changed != expected) {
        stage.fault(f, QStringLiteral("the import stored %1 of %2 rows").arg(changed).arg(expected));
        return false;
    }
    f.record(previewMs + storeMs, previewMs + storeMs);
    return true;
}

// The school's roster as the roster exports it, each student's 寝室 new in
// every run, so that every row is an update.
void measureRoster(Stage& stage, const QString& folder)
{
    Figures& f = stage.add(RosterIn);
    stage.mainWindow();
    const DbValue<Sheets::Table> roster = Exports::SchoolRoster();
    if (!roster) {
        stage.fault(f, QStringLiteral("the roster could not be read"));
        return;
    }
    const int roomColumn = 3; // 班级, 姓名, 学号, 寝室
    const QString path = folder + QStringLiteral("/roster.xlsx");
    const int students = roster->rowCount() - 2;
    for (int run = 0; run < kImportRuns + 1; ++run) {
        Sheets::Table sheet = *roster;
        for (int r = 2; r < sheet.rowCount(); ++r)
            sheet.setCell(r, roomColumn, Sheets::Cell::text(QStringLiteral("R%1-%2").arg(run).arg(r)));
        if (!Sheets::WriteSheet(path, sheet)) {
            stage.fault(f, QStringLiteral("the roster could not be written"));
            return;
        }
        const bool timed = timeImport<RosterImport>(
            stage, f, path, [](const Sheets::Table& s) { return PlanRosterImport(s, RosterTarget{}); },
            [](const RosterImport& p) { return StoreRosterImport(p); }, students);
        if (!timed)
            return;
    }
}

// Every score of a term's classes in one sheet with the column 班级, each a
// quarter away from the stored one, so that every score is replaced.
std::optional<Sheets::Table> termSheet(int termCode)
{
    const DbValue<RowSet> plans = Db::select(Plan::SubjectsOfTerm(termCode));
    const DbValue<RowSet> students = Db::select(Roster::StudentsOfTerm(termCode));
    const DbValue<RowSet> grades = Db::select(Scores::TermGrades(termCode));
    if (!plans || !students || !grades)
        return std::nullopt;
    QStringList subjects;
    QHash<QString, QHash<QString, QString>> planned; // class to its subjects' codes by name
    for (int r = 0; r < plans->rowCount(); ++r) {
        const QString name = plans->text(r, QStringLiteral("SubjName"));
        if (!subjects.contains(name))
            subjects << name;
        planned[plans->text(r, QStringLiteral("ClassCode"))].insert(
            name, plans->text(r, QStringLiteral("SubjCode")));
    }
    QHash<QString, double> stored; // student and subject code to the score
    for (int r = 0; r < grades->rowCount(); ++r)
        stored.insert(grades->text(r, QStringLiteral("StudentID")) + QLatin1Char(' ') +
                          grades->text(r, QStringLiteral("SubjectCode")),
                      grades->value(r, QStringLiteral("Score")).toDouble());
    Sheets::Table sheet;
    QVector<Sheets::Cell> header{Sheets::Cell::text(QStringLiteral("班级")),
                                 Sheets::Cell::text(QStringLiteral("学号")),
                                 Sheets::Cell::text(QStringLiteral("姓名"))};
    for (const QString& subject : subjects)
        header << Sheets::Cell::text(subject);
    sheet.appendRow(header);
    for (int r = 0; r < students->rowCount(); ++r) {
        const QString classCode = students->text(r, QStringLiteral("ClassCode"));
        const QString id = students->text(r, QStringLiteral("ID"));
        QVector<Sheets::Cell> cells{Sheets::Cell::text(classCode),
                                    Sheets::Cell::text(students->text(r, QStringLiteral("SNumber"))),
                                    Sheets::Cell::text(students->text(r, QStringLiteral("SName")))};
        for (const QString& subject : subjects) {
            const QString code = planned.value(classCode).value(subject);
            if (code.isEmpty()) {
                cells << Sheets::Cell();
                continue;
            }
            const double score = stored.value(id + QLatin1Char(' ') + code, 60);
            cells << Sheets::Cell::number(score < 99 ? score + 0.25 : score - 0.25);
        }
        sheet.appendRow(cells);
    }
    return sheet;
}

void measureScores(Stage& stage, const QString& folder)
{
    Figures& f = stage.add(ScoresIn);
    stage.mainWindow();
    const QString path = folder + QStringLiteral("/scores.xlsx");
    // The last term, in which every class of the school is active.
    const int term = schoolgen::TermCode(stage.shape(), stage.shape().terms - 1);
    for (int run = 0; run < kImportRuns + 1; ++run) {
        const std::optional<Sheets::Table> sheet = termSheet(term);
        if (!sheet || !Sheets::WriteSheet(path, *sheet)) {
            stage.fault(f, QStringLiteral("the term's scores could not be written"));
            return;
        }
        const bool timed = timeImport<ScoreImport>(
            stage, f, path,
            [term](const Sheets::Table& s) {
                return PlanScoreImport(s, ScoreTarget{term, {}, {}});
            },
            [](const ScoreImport& p) { return StoreScoreImport(p); }, sheet->rowCount() - 1);
        if (!timed)
            return;
    }
}

void measure(Stage& stage)
{
    QTemporaryDir folder;
    if (stage.wanted(Export))
        measureExport(stage, folder.path());
    if (stage.wanted(RosterIn))
        measureRoster(stage, folder.path());
    if (stage.wanted(ScoresIn))
        measureScores(stage, folder.path());
}

} // namespace

const Driver SheetsDriver{{Export, RosterIn, ScoresIn}, &measure};

} // namespace bench
