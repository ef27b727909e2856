#pragma once

#include "forms/ScoreEditForm.h"

// "成绩修改": one student's score in one subject.
class TfrmGuadeEdit : public TScoreEditForm {
    Q_OBJECT
public:
    explicit TfrmGuadeEdit(int id, QWidget* parent = nullptr);
};

// Edits the TGrade row with this ID; true when a score was stored.
bool ShowGuadeEdit(int ID);
