#include "transfer/SheetButton.h"

#include <QMenu>

SheetButton::SheetButton(QWidget* parent) : CommandButton(Caption(), QStringLiteral("cmdSheets"), parent)
{
    menu()->setObjectName(QStringLiteral("mnuSheets"));
}

QString SheetButton::Caption()
{
    return QStringLiteral("导入/导出…");
}
