#include "statistics/uGradeCount.h"

#include "app/uPub.h"

bool ShowGradeCount()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

