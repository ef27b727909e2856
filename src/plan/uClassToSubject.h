#pragma once

#include "forms/uAssignForm.h"

class TTermClassTree;

// "学期/班级/科目对应设置": the subject plan of a class in a term. The class
// is picked in the term/class tree; a mouse click loads its lists, and the
// moves act on the class the lists were loaded for.
class TfrmClassToSubject : public TAssignForm {
    Q_OBJECT
public:
    explicit TfrmClassToSubject(QWidget* parent = nullptr);

    bool ReadyData();
    TTermClassTree* tree() const { return m_tree; }

protected:
    bool hasChoice() const override;
    void nothingChosen() override;
    Statement upperList() const override;
    Statement lowerList() const override;
    QString upperCaption() const override;
    DbResult assign(const QString& code) const override;
    DbResult unassign(const QString& code) const override;

private:
    void TreeClick();
    int termCode() const;
    QString classCode() const;

    TTermClassTree* m_tree = nullptr;
};

bool ShowClassToSubject();
