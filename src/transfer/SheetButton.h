#pragma once

#include <QPushButton>

#include <functional>

class QMenu;

// The one button each window gains for spreadsheets: "导入/导出…", a
// drop-down of the window's import and export commands.
class SheetButton : public QPushButton {
    Q_OBJECT
public:
    explicit SheetButton(QWidget* parent);

    // Adds a command; it runs guarded, as every command of the windows.
    QAction* addCommand(const QString& text, const QString& name, std::function<void()> command);

    static QString Caption();

private:
    QMenu* m_menu = nullptr;
};
