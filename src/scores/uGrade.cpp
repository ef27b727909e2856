#include "scores/uGrade.h"

#include "app/uPub.h"

bool ShowGrade()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

