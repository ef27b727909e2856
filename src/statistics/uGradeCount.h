#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QueryObject;
class TStringAlignGrid;
class TTermClassTree;

// The statistics window "成绩统计/查询": the scores of one class in one term,
// one row per student and one column per subject of the class's plan, with
// each student's total and previous-term total, the marks for failing,
// honours-level and much improved students, ordering by a subject, a score
// range filter and the student's record.
//
// It is not modal and writes nothing. Every mouse click in the tree rebuilds
// the table; its commands act on the class the table was built for.
class TfrmGradeCount : public QWidget {
    Q_OBJECT
public:
    explicit TfrmGradeCount(QWidget* parent = nullptr);

    // The row marks.
    static QColor FailColor() { return QColor(0, 0, 255); }
    static QColor HonoursColor() { return QColor(255, 0, 0); }
    static QColor ProgressColor() { return QColor(183, 233, 194); }

    bool ReadyData();

    // The rebuild, step by step; each returns false after it reported a failure
    // or when no class is on show.
    void TreeClick();
    // Clears the table and builds it for the class shown; false where a step
    // failed (its message shown) and the table stays as far as it got.
    bool rebuild(bool refillSubjects);
    bool ReadyStudent();
    bool ReadySubj(bool refill);
    bool ReadyGrade();
    void CalcTotal();
    void CheckHonours();
    void SetJB();
    double GetHScore(const QString& code);
    int GetStudentRow(const QString& id) const;
    int GetSubjectCol(const QString& name) const;

    void cmdFilterClick();
    void HideArea();
    void cmdDetailClick();
    void cmdCloseClick();

    TTermClassTree* tree() const { return m_tree; }
    TStringAlignGrid* grid() const { return Grid; }
    TStringAlignGrid* gridB() const { return GridB; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommandBar(QWidget* page);
    void buildLegend(QWidget* page);
    void buildComparison(QWidget* page);
    void fillComparison(int lowestRow, int highestRow);
    QString subjectCodeOfColumn(int col) const;
    // The number a cell shows; an empty cell counts 0.
    double cellNumber(int col, int row) const;

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
    QListWidget* ListSubjCode = nullptr;
    TStringAlignGrid* Grid = nullptr;
    QFrame* Panel2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TStringAlignGrid* GridB = nullptr;

    QueryObject* dsStudent = nullptr;
    QueryObject* dsSubject = nullptr;
    QueryObject* dsTemp = nullptr;
    QueryObject* dsStd = nullptr;

    // Subject columns of the table on show, as the last ReadySubj set them up.
    int m_subjectCount = 0;
};

// Opens one more statistics window inside the main window; false when its
// tree could not be loaded (the failure was reported).
bool ShowGradeCount();

// The text of a masked field as the user sees it, with every unfilled
// position read as a blank ("5 0" when the middle digit is missing).
QString MaskedText(const QLineEdit* edit);
