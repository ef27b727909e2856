#include "scores/uHonoursStd.h"

#include "app/uPub.h"

bool ShowHonoursStd()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

