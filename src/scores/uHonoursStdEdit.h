#pragma once

#include "forms/ScoreEditForm.h"

// "修改优秀评定标准": a class's honours standard in one subject, a whole number.
class TfrmHonoursStdEdit : public TScoreEditForm {
    Q_OBJECT
public:
    explicit TfrmHonoursStdEdit(int id, QWidget* parent = nullptr);
};

// Edits the THonoursStd row with this ID; true when a standard was stored.
bool ShowHonoursStdEdit(int ID);
