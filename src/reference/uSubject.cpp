#include "reference/uSubject.h"

#include "app/uPub.h"

bool ShowSubject()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

bool ShowSubjectEdit(int)
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

