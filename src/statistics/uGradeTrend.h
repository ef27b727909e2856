#pragma once

#include "data/StudentHistory.h"
#include "forms/Form.h"

class QLabel;
class TStringAlignGrid;
class TTrendChart;

// "成绩走势": one student's 总分 and 名次 in every term in which the
// statistics table of the student's class shows a score of the student,
// oldest first, as a table and a line chart.
class TfrmGradeTrend : public TForm {
    Q_OBJECT
public:
    explicit TfrmGradeTrend(qint64 studentId, QWidget* parent = nullptr);

    // Reads the history; false after the failure was reported.
    bool ReadyData();

    TStringAlignGrid* grid() const { return GridTrend; }
    TTrendChart* chart() const { return m_chart; }

private:
    void showHistory(const StudentHistory& history);

    qint64 m_studentId;
    QLabel* LabelStudent = nullptr;
    TStringAlignGrid* GridTrend = nullptr;
    TTrendChart* m_chart = nullptr;
};

// Opens the dialog modally for a student; false when the history could not be read.
bool ShowGradeTrend(qint64 studentId);
