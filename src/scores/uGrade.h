#pragma once

#include "forms/ScoreWindow.h"

// "学生成绩录入": the students of a class and, below them, the current
// student's scores in the term, one row per subject.
class TfrmGrade : public TScoreWindow {
    Q_OBJECT
public:
    explicit TfrmGrade(QWidget* parent = nullptr);

    bool ReadyList();
    bool ReadySubj();
    void dsStudentAfterScroll();

    DataGrid* studentGrid() const { return DBGridEh2; }
    QueryObject* students() const { return dsStudent; }

protected:
    std::optional<ScoreRows> shownRows() const override;
    bool editRow(int id) override;
    void TreeClick() override;

private:
    QGroupBox* GroupBox3 = nullptr;
    DataGrid* DBGridEh2 = nullptr;
    QueryObject* dsStudent = nullptr;
};

bool ShowGrade();
