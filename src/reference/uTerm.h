#pragma once

#include "reference/CodeForms.h"

// Terms: the list window "学期信息维护" and the dialog "新增/修改学期信息".
// The term code is a whole number: only digits can be typed into it, and
// it must fit the database's 32-bit column.
const CodeTable& TermTable();

class TfrmTerm : public TfrmCodeList {
    Q_OBJECT
public:
    explicit TfrmTerm(QWidget* parent = nullptr);
};

class TfrmTermEdit : public TfrmCodeEdit {
    Q_OBJECT
public:
    explicit TfrmTermEdit(int ID = -1, QWidget* parent = nullptr);

    void EditCodeKeyPress(QChar& Key);

protected:
    bool AcceptCode() override;
};

bool ShowTerm();
bool ShowTermEdit(int ID);
