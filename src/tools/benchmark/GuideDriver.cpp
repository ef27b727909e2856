// The operation guide on the main window's background: shown from its menu
// item, the school's progress read and the diagram drawn afresh, as the
// guide refreshes whenever it comes into view after the school changed.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "data/Database.h"

#include <QAction>
#include <QMdiArea>

namespace bench {

namespace {

const Action Shown{"操作向导: shown from the menu after a change, the school read and drawn", Kind::Glance};

// A subject that comes and goes while the guide is hidden: a guide that
// finds what it showed already has nothing to draw, which would flatter it.
const Statement AddSubject{
    QStringLiteral("Insert into TSubject (SubjCode,SubjName) Values('bench-guide','')"), {}};
const Statement RemoveSubject{QStringLiteral("Delete from TSubject Where SubjCode='bench-guide'"), {}};

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
        if (!Db::execute(i % 2 == 0 ? AddSubject : RemoveSubject))
            stage.fault(f, QStringLiteral("the school could not be changed"));
        stage.time(f, Is(area->viewport()), [main] { TriggerMenuItem(main, "mnuGuide"); });
    }
    if (!Db::execute(RemoveSubject))
        stage.fault(f, QStringLiteral("the school could not be changed back"));
    if (!item->isChecked())
        TriggerMenuItem(main, "mnuGuide");
    stage.settle();
}

} // namespace

const Driver GuideDriver{{Shown}, &measure};

} // namespace bench
