// Spreadsheets in and out, through the windows' "导入/导出…": a class's
// statistics table exported, a whole school's roster imported in the roster
// and a term's scores in 学生成绩录入. An import counts from the file chosen
// until its preview is painted, plus from "导入(&I)" until it is done; the
// user's reading of the preview is left out. The files are made by the
// program's own exports, changed so that every row changes something.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "data/Plan.h"
#include "data/Roster.h"
#include "data/Scores.h"
#include "exchange/Exports.h"
#include "sheets/SheetFile.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QPushButton>
#include <QTemporaryDir>

namespace bench {

namespace {

const Action Export{"成绩统计: export a class's table to .xlsx", Kind::Bounded, 100};
const Action RosterIn{"学生名单: import a school's roster of 3,000 (preview + store)", Kind::Bounded, 2000};
const Action ScoresIn{"成绩: import a term's 36,000 scores (preview + store)", Kind::Bounded, 3000};

// An import takes a second or so and rewrites thousands of rows: a few runs tell enough.
constexpr int kImportRuns = 3;

int importRuns(const Stage& stage)
{
    return std::min(kImportRuns, stage.runs()) + 1; // and the warm-up
}

double elapsed(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// A command behind a window's "导入/导出…", by its name.
QAction* command(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

void measureExport(Stage& stage, const QString& folder)
{
    Figures& f = stage.add(Export);
    QWidget* window = stage.openMdiChild("mnuGCount");
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    QAction* exportTable = window ? command(window, "mnuExportTable") : nullptr;
    if (!tree || !exportTable) {
        stage.fault(f, QStringLiteral("the statistics window did not open with its export"));
        return;
    }
    const QString path = folder + QStringLiteral("/table.xlsx");
    for (int i = 0; i < stage.timedRuns(); ++i) {
        const int term = stage.termOf(i);
        OpenTerm(tree, term);
        ClickNode(tree, ClassNode(tree, term, stage.classOf(i)));
        stage.settle();
        QFile::remove(path);
        ScriptedDialogs dialogs(true);
        dialogs.files.push_back(path);
        QElapsedTimer clock;
        clock.start();
        exportTable->trigger();
        const double ms = elapsed(clock);
        if (!QFile::exists(path) || !dialogs.all().isEmpty())
            stage.fault(f, QStringLiteral("the table was not written: ") +
                               dialogs.all().join(QStringLiteral(" / ")));
        f.record(ms, ms);
    }
    stage.closeMdiChildren();
}

// Times the import of a file through the window's command; false after a fault.
bool timeImport(Stage& stage, Figures& f, QWidget* window, const QString& path)
{
    QAction* import = command(window, "mnuImport");
    if (!import) {
        stage.fault(f, QStringLiteral("the window has no import"));
        return false;
    }
    ScriptedDialogs dialogs(true); // the question before storing is answered Yes
    dialogs.files.push_back(path);
    QElapsedTimer clock;
    double previewMs = -1;
    double confirmedAt = 0;
    bool importable = false;
    // The preview, after the progress of reading when that takes long.
    std::function<void(QWidget*)> onPreview = [&](QWidget* modal) {
        if (modal->objectName() != QLatin1String("frmImportPreview")) {
            OnNextModal(onPreview);
            return;
        }
        modal->repaint();
        previewMs = elapsed(clock);
        auto* button = modal->findChild<QPushButton*>(QStringLiteral("cmdImport"));
        importable = button && button->isEnabled();
        confirmedAt = elapsed(clock);
        if (importable)
            button->click();
        else
            CloseModal(modal);
    };
    OnNextModal(onPreview);
    clock.start();
    import->trigger();
    const double ms = previewMs + elapsed(clock) - confirmedAt;
    if (!importable || dialogs.messages != QStringList{QStringLiteral("导入完成！")}) {
        stage.fault(f,
                    QStringLiteral("the import did not store: ") + dialogs.all().join(QStringLiteral(" / ")));
        return false;
    }
    f.record(ms, ms);
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
    const bool opened = stage.inModal("mnuSBase", [&](QWidget* window) {
        for (int run = 0; run < importRuns(stage); ++run) {
            Sheets::Table sheet = *roster;
            for (int r = 2; r < sheet.rowCount(); ++r)
                sheet.setCell(r, roomColumn, Sheets::Cell::text(QStringLiteral("R%1-%2").arg(run).arg(r)));
            if (!Sheets::WriteSheet(path, sheet)) {
                stage.fault(f, QStringLiteral("the roster could not be written"));
                return;
            }
            if (!timeImport(stage, f, window, path))
                return;
        }
    });
    if (!opened)
        stage.fault(f, QStringLiteral("the roster did not open"));
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
    // The last term, in which every class of the school is active; the sheet
    // names each row's class, so the class clicked only gives the term.
    const int lastTerm = stage.shape().terms - 1;
    const int termCode = schoolgen::TermCode(stage.shape(), lastTerm);
    QWidget* window = stage.openMdiChild("mnuQuickEntry");
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    if (!tree) {
        stage.fault(f, QStringLiteral("成绩快速录入 did not open with its navigator"));
        return;
    }
    OpenTerm(tree, lastTerm);
    ClickNode(tree, ClassNode(tree, lastTerm, 0));
    stage.settle();
    for (int run = 0; run < importRuns(stage); ++run) {
        const std::optional<Sheets::Table> sheet = termSheet(termCode);
        if (!sheet || !Sheets::WriteSheet(path, *sheet)) {
            stage.fault(f, QStringLiteral("the term's scores could not be written"));
            break;
        }
        if (!timeImport(stage, f, window, path))
            break;
    }
    stage.closeMdiChildren();
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
