#pragma once

#include "forms/uAssignForm.h"

class DataGrid;

// "学期/班级对应关系设置": which classes are active in which term. The term
// is the current row of the term list on the left; every change of it
// reloads both class lists.
class TfrmTermToClass : public TAssignForm {
    Q_OBJECT
public:
    explicit TfrmTermToClass(QWidget* parent = nullptr);

    bool ReadyData();

protected:
    bool hasChoice() const override;
    Statement upperList() const override;
    Statement lowerList() const override;
    QString upperCaption() const override;
    DbResult assign(const QString& code) const override;
    DbResult unassign(const QString& code) const override;

private:
    void dsQueryAfterScroll();
    int termCode() const;

    QueryObject* dsQuery = nullptr; // all terms
    DataGrid* DBGridEh1 = nullptr;
};

bool ShowTermToClass();
