#pragma once

#include <QWidget>
#include <memory>

class QMdiArea;

// Shows a non-modal window maximised inside the MDI area, whose frame takes
// it over and is freed when it is closed. Without an area the window is
// shown on its own and freed the same way.
void ShowMdiChild(QMdiArea* area, std::unique_ptr<QWidget> window);
