#pragma once

#include <QPushButton>

#include <functional>

class QMenu;

// A button that drops down a menu of a window's added commands: where a
// specified bar has room for one more control, they share it.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, const QString& objectName, QWidget* parent);

    // Adds a command; it runs guarded, as every command of the windows.
    QAction* addCommand(const QString& text, const QString& name, std::function<void()> command);
    void addCommands(const QList<QAction*>& actions);
    void addSeparator();

private:
    QMenu* m_menu = nullptr;
};
