#include "scores/uGuadeEdit.h"

#include "forms/uPub.h"

TfrmGuadeEdit::TfrmGuadeEdit(int id, QWidget* parent) : TScoreEditForm(GradeScores(), id, parent)
{
    setObjectName(QStringLiteral("frmGuadeEdit"));
    setWindowTitle(QStringLiteral("成绩修改"));
    setFixedClientSize(242, 146);
}

bool ShowGuadeEdit(int ID)
{
    return RunEdit<TfrmGuadeEdit>(ID);
}
