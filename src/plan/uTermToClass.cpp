#include "plan/uTermToClass.h"

#include "app/uPub.h"

bool ShowTermToClass()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

