#pragma once

#include "reference/CodeForms.h"

// Classes: the list window "班级信息" and the dialog "新增/修改班级信息".
const CodeTable& ClassTable();

class TfrmClass : public TfrmCodeList {
    Q_OBJECT
public:
    explicit TfrmClass(QWidget* parent = nullptr);
};

class TfrmClassEdit : public TfrmCodeEdit {
    Q_OBJECT
public:
    explicit TfrmClassEdit(int ID = -1, QWidget* parent = nullptr);
};

bool ShowClass();
bool ShowClassEdit(int ID);
