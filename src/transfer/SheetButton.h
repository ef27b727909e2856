#pragma once

#include "forms/CommandButton.h"

// The one button each window gains for spreadsheets: "导入/导出…", a
// drop-down of the window's import and export commands.
class SheetButton : public CommandButton {
    Q_OBJECT
public:
    explicit SheetButton(QWidget* parent);

    static QString Caption();
};
