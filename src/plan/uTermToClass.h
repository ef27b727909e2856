#pragma once

#include "plan/uAssignForm.h"

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
    QString upperSql() const override;
    QString lowerSql() const override;
    QString upperCaption() const override;
    QString insertSql(const QString& code) const override;
    QString deleteSql(const QString& code) const override;

private:
    void dsQueryAfterScroll();
    QString termCode() const;

    QueryObject* dsQuery = nullptr; // all terms
    DataGrid* DBGridEh1 = nullptr;
};

bool ShowTermToClass();
