// The operation guide on the main window's background: shown from its menu
// item, the school's progress read and the diagram painted, as the guide
// refreshes whenever it comes into view.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include <QAction>
#include <QMdiArea>

namespace bench {

namespace {

const Action Shown{"操作向导: shown from the menu, the school read and the diagram painted", Kind::Glance};

void measure(Stage& stage)
{
    Figures& f = stage.add(Shown);
    QWidget* main = stage.mainWindow();
    auto* item = main->findChild<QAction*>(QStringLiteral("mnuGuide"));
    auto* area = main->findChild<QMdiArea*>();
    if (!item || !area) {
        stage.fault(f, QStringLiteral("the main window has no guide"));
        return;
    }
    stage.closeMdiChildren();
    for (int i = 0; i < stage.timedRuns(); ++i) {
        if (item->isChecked()) {
            TriggerMenuItem(main, "mnuGuide");
            stage.settle();
        }
        stage.time(f, Is(area->viewport()), [main] { TriggerMenuItem(main, "mnuGuide"); });
    }
    if (!item->isChecked())
        TriggerMenuItem(main, "mnuGuide");
    stage.settle();
}

} // namespace

const Driver GuideDriver{{Shown}, &measure};

} // namespace bench
