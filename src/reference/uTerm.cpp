#include "reference/uTerm.h"

#include "app/uPub.h"

bool ShowTerm()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

bool ShowTermEdit(int)
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

