#include "transfer/SheetButton.h"

#include "forms/uPub.h"

#include <QMenu>

SheetButton::SheetButton(QWidget* parent) : QPushButton(Caption(), parent)
{
    setObjectName(QStringLiteral("cmdSheets"));
    setAutoDefault(false);
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuSheets"));
    setMenu(m_menu);
}

QString SheetButton::Caption()
{
    return QStringLiteral("导入/导出…");
}

QAction* SheetButton::addCommand(const QString& text, const QString& name, std::function<void()> command)
{
    QAction* action = m_menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, Guarded([command](bool) { command(); }));
    return action;
}
