#include "scores/uHonoursStdEdit.h"

#include "forms/uPub.h"

TfrmHonoursStdEdit::TfrmHonoursStdEdit(int id, QWidget* parent)
    : TScoreEditForm(HonoursStandards(), id, parent)
{
    setObjectName(QStringLiteral("frmHonoursStdEdit"));
    setWindowTitle(QStringLiteral("修改优秀评定标准"));
    setFixedClientSize(239, 156);
}

bool ShowHonoursStdEdit(int ID)
{
    return RunEdit<TfrmHonoursStdEdit>(ID);
}
