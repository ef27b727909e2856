#pragma once

#include "sheets/Table.h"
#include "statistics/GridRows.h"
#include "statistics/ResultsTable.h"

#include <QString>
#include <QWidget>
#include <optional>

class AnalysisPage;
class PrintCommands;
struct PrintJob;
class QCheckBox;
class QComboBox;
class QFrame;
class ComparisonBox;
class CommandButton;
class SheetButton;
class SummaryRows;
class TFollowingGrid;
class QAction;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QTabWidget;
class TStringAlignGrid;
class TTermClassTree;

// The statistics window "成绩统计/查询": the scores of one class in one term,
// one row per student and one column per subject of the class's plan, with
// each student's total and previous-term total, the marks for failing,
// honours-level and much improved students, ordering by a subject, a score
// range filter and the student's record.
//
// It is not modal and writes nothing. Every mouse click in the tree reads
// the class's results afresh and has the table show them; its commands act
// on the class the table was built for.
//
// Beyond that it shows the class's figures in summary rows under the table,
// each student's place and its change (when "显示名次" is checked), the
// spread of the scores on the page "统计分析", and a student's course over
// the terms ("成绩走势").
class TfrmGradeCount : public QWidget {
    Q_OBJECT
public:
    explicit TfrmGradeCount(QWidget* parent = nullptr);

    // The row marks.
    static QColor FailColor() { return ResultsTable::FailColor(); }
    static QColor HonoursColor() { return ResultsTable::HonoursColor(); }
    static QColor ProgressColor() { return ResultsTable::ProgressColor(); }

    bool ReadyData();

    void TreeClick();
    void cmdFilterClick();
    void cmdDetailClick();
    void cmdCloseClick();
    void cmdTrendClick();
    void chkPlacesClick(bool checked);
    // "成绩通知单…": the report cards of the class on show.
    void cmdReportCardsClick();
    // "导出成绩表" behind "导入/导出…": the table as it stands.
    void ExportTable();
    Sheets::Table sheet() const;

    // Shows a class as a click on its node in the tree would; false when the
    // tree has no such class.
    bool ShowClass(const QString& termCode, const QString& classCode);
    // Whether a rebuild also writes the summary rows, the places and the
    // analysis page (on unless the benchmark measures the table without them).
    void setFiguresShown(bool shown) { m_figuresShown = shown; }

    TTermClassTree* tree() const { return m_tree; }
    TStringAlignGrid* grid() const { return Grid; }
    TStringAlignGrid* gridB() const { return GridB; }
    TFollowingGrid* summaryGrid() const { return GridSum; }
    AnalysisPage* analysisPage() const { return m_analysis; }
    QTabWidget* pages() const { return PageControl1; }
    // "打印", "打印预览" and "导出PDF" of the table as it stands.
    PrintCommands* printCommands() const { return m_print; }
    CommandButton* printButton() const { return cmdPrint; }
    QAction* reportCardsAction() const { return m_reportCards; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommandBar(QWidget* page);
    // The results of the class on show, read afresh; nullopt when a term or
    // nothing is on show.
    std::optional<ClassResultsLoad> readShownClass() const;
    // Shows the fixed message of the step that failed, if one did.
    static void reportFailure(const ClassResultsLoad& load);
    // Has the table, the figures and the places show a reading in the rows' order.
    void present(const ClassResultsLoad& load, const GridRows& rows);
    void showNothing();
    void showAnalysis();
    void refillSubjects(const ClassResults& results);
    // The subject chosen in cmbSubj among the results' subjects, by position;
    // -1 for "全部", no choice, or a position the results do not have.
    int chosenSubject(const ClassResults& results) const;
    // Hides the rows whose score lies outside the range typed; both bounds
    // are read before any row is hidden, so a bad one hides nothing.
    void HideArea(const RowKeys& scores, GridRows& rows);
    // The table on show as printed; nothing while no complete class is on show.
    PrintJob tableJob() const;

    TTermClassTree* m_tree = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QFrame* Panel1 = nullptr;
    QComboBox* cmbSubj = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QLineEdit* MaskEdit2 = nullptr;
    QPushButton* cmdFilter = nullptr;
    QPushButton* cmdDetail = nullptr;
    QPushButton* cmdClose = nullptr;
    QCheckBox* chkCompare = nullptr;
    QCheckBox* chkPlaces = nullptr;
    QPushButton* cmdTrend = nullptr;
    CommandButton* cmdPrint = nullptr;
    PrintCommands* m_print = nullptr;
    QAction* m_reportCards = nullptr;
    SheetButton* cmdSheets = nullptr;
    TStringAlignGrid* Grid = nullptr;
    TFollowingGrid* GridSum = nullptr;
    QFrame* Panel2 = nullptr;
    ComparisonBox* GroupBox2 = nullptr;
    TStringAlignGrid* GridB = nullptr;
    ResultsTable* m_table = nullptr;
    SummaryRows* m_summary = nullptr;
    AnalysisPage* m_analysis = nullptr;
    // The reading on show, for showing it again when the places are turned on or off.
    std::optional<ClassResultsLoad> m_load;
    std::optional<PlaceColumns> m_places; // the places on show, if any
    bool m_figuresShown = true;
    bool m_analysisStale = false; // the page is brought up to date when it is shown
};

// Opens one more statistics window, maximised inside the given MDI area (on
// its own without one); false when its tree could not be loaded (the failure
// was reported).
bool ShowGradeCount(QMdiArea* area);
// The same, giving the window opened (nullptr when it was not).
TfrmGradeCount* OpenGradeCount(QMdiArea* area);

// The text of a masked field as the user sees it, with every unfilled
// position read as a blank ("5 0" when the middle digit is missing).
QString MaskedText(const QLineEdit* edit);
