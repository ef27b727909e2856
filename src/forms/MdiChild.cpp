#include "forms/MdiChild.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void ShowMdiChild(QMdiArea* area, std::unique_ptr<QWidget> window)
{
    if (!area) {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window.release()->showMaximized();
        return;
    }
    QWidget* shown = window.get();
    QMdiSubWindow* frame = area->addSubWindow(window.release());
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->showMaximized();
    shown->setFocus();
}
