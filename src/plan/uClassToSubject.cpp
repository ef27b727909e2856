#include "plan/uClassToSubject.h"

#include "app/uPub.h"

bool ShowClassToSubject()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
    return false;
}

