#include "students/uStudentEdit.h"

#include "app/uPub.h"

bool ShowStudentEdit(int, const QString&, const QString&)
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

