#include "forms/CommandButton.h"

#include "forms/uPub.h"

#include <QMenu>

CommandButton::CommandButton(const QString& caption, const QString& objectName, QWidget* parent)
    : QPushButton(caption, parent)
{
    setObjectName(objectName);
    setAutoDefault(false);
    m_menu = new QMenu(this);
    setMenu(m_menu);
}

QAction* CommandButton::addCommand(const QString& text, const QString& name, std::function<void()> command)
{
    QAction* action = m_menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, Guarded([command](bool) { command(); }));
    return action;
}

void CommandButton::addCommands(const QList<QAction*>& actions)
{
    m_menu->addActions(actions);
}

void CommandButton::addSeparator()
{
    m_menu->addSeparator();
}
