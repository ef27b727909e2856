#include "app/uMain.h"
#include "app/uPub.h"

// PLACEHOLDER until backup and restore are built.
void TfrmMain::mnuBakClick()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
}

void TfrmMain::mnuRestoreClick()
{
    ShowMessage(QStringLiteral("该功能尚未完成。"));
}
