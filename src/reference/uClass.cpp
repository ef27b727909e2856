#include "reference/uClass.h"

#include "app/uPub.h"

bool ShowClass()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

bool ShowClassEdit(int)
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

