#include "widgets/LaidOutTableView.h"

#include <QEvent>

bool LaidOutTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::UpdateRequest)
        executeDelayedItemsLayout();
    return QTableView::eventFilter(watched, event);
}

bool LaidOutTableView::event(QEvent* event)
{
    // The window changes when the view is shown in another one (an MDI child
    // is made, a dialog is reparented), so it is looked up again then.
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        watchWindow();
    return QTableView::event(event);
}

void LaidOutTableView::watchWindow()
{
    QWidget* top = window();
    if (top == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = top;
    if (m_window != this)
        m_window->installEventFilter(this);
}
