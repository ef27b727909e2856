#pragma once

#include "statistics/GridRows.h"
#include "statistics/ResultsTable.h"

#include <QString>
#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class ComparisonBox;
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

    TTermClassTree* tree() const { return m_tree; }
    TStringAlignGrid* grid() const { return Grid; }
    TStringAlignGrid* gridB() const { return GridB; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommandBar(QWidget* page);
    // The results of the class on show, read afresh; nullopt when a term or
    // nothing is on show.
    std::optional<ClassResultsLoad> readShownClass() const;
    // Shows the fixed message of the step that failed, if one did.
    static void reportFailure(const ClassResultsLoad& load);
    void refillSubjects(const ClassResults& results);
    // The subject chosen in cmbSubj among the results' subjects, by position;
    // -1 for "全部", no choice, or a position the results do not have.
    int chosenSubject(const ClassResults& results) const;
    // Hides the rows whose score lies outside the range typed; both bounds
    // are read before any row is hidden, so a bad one hides nothing.
    void HideArea(const RowKeys& scores, GridRows& rows);

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
    TStringAlignGrid* Grid = nullptr;
    QFrame* Panel2 = nullptr;
    ComparisonBox* GroupBox2 = nullptr;
    TStringAlignGrid* GridB = nullptr;
    ResultsTable* m_table = nullptr;
};

// Opens one more statistics window, maximised inside the given MDI area (on
// its own without one); false when its tree could not be loaded (the failure
// was reported).
bool ShowGradeCount(QMdiArea* area);

// The text of a masked field as the user sees it, with every unfilled
// position read as a blank ("5 0" when the middle digit is missing).
QString MaskedText(const QLineEdit* edit);
