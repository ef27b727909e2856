#include "students/uStudent.h"

#include "app/uPub.h"

bool ShowStudent()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

