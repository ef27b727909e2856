#pragma once

#include "reference/CodeForms.h"

// Subjects: the list window "科目信息维护" and the resizable dialog "新增/修改科目信息".
const CodeTable& SubjectTable();

class TfrmSubject : public TfrmCodeList {
    Q_OBJECT
public:
    explicit TfrmSubject(QWidget* parent = nullptr);
};

class TfrmSubjectEdit : public TfrmCodeEdit {
    Q_OBJECT
public:
    explicit TfrmSubjectEdit(int ID = -1, QWidget* parent = nullptr);
};

bool ShowSubject();
bool ShowSubjectEdit(int ID);
