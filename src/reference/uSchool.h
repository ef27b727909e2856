#pragma once

#include "forms/EditForm.h"

class QLineEdit;

// "学校信息": the school's name, which every printed table and report card
// carries in its title. An empty name is stored as such: titles then start
// with the term or the class.
class TfrmSchool : public TEditForm {
    Q_OBJECT
public:
    explicit TfrmSchool(QWidget* parent = nullptr);

    bool ReadyData() override;
    bool SaveData() override;

    QLineEdit* EditSchoolName = nullptr;
};

bool ShowSchool();
