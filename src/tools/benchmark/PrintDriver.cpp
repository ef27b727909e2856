// Printing: a class's statistics table as PDF and in the print preview, and
// its report cards (成绩通知单) as one PDF, through the statistics window's
// commands as a user gives them.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "print/PrintCommands.h"
#include "statistics/uGradeCount.h"
#include "statistics/uReportCards.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace bench {

namespace {

const Action TablePdf{"成绩统计: a class's table to PDF", Kind::Print};
const Action TablePreview{"成绩统计: a class's table in the print preview, shown", Kind::Print};
const Action CardsPdf{"成绩通知单: a class's report cards to PDF", Kind::PrintBatch};

void measure(Stage& stage)
{
    Figures* pdf = stage.wanted(TablePdf) ? &stage.add(TablePdf) : nullptr;
    Figures* preview = stage.wanted(TablePreview) ? &stage.add(TablePreview) : nullptr;
    Figures* cards = stage.wanted(CardsPdf) ? &stage.add(CardsPdf) : nullptr;
    auto* area = stage.mainWindow()->findChild<QMdiArea*>();
    TriggerMenuItem(stage.mainWindow(), "mnuGCount");
    stage.settle();
    QMdiSubWindow* frame = area->subWindowList().value(0);
    auto* window = frame ? qobject_cast<TfrmGradeCount*>(frame->widget()) : nullptr;
    if (!window) {
        for (Figures* f : {pdf, preview, cards})
            if (f)
                stage.fault(*f, QStringLiteral("the statistics window did not open"));
        return;
    }
    // One file, written over each run, as a user exporting class after class would.
    const QString file = QDir(stage.dir()).filePath(QStringLiteral("print-benchmark.pdf"));
    TTermClassTree* tree = window->tree();
    for (int i = 0; i < stage.timedRuns(); ++i) {
        const int term = stage.termOf(i);
        OpenTerm(tree, term);
        ClickNode(tree, ClassNode(tree, term, stage.classOf(i)));
        stage.settle();
        if (pdf)
            stage.timeUntilReturned(*pdf, [&] {
                stage.dialogs().files.push_back(file);
                window->printCommands()->pdfAction()->trigger();
            });
        if (preview) {
            stage.dialogs().showPreviews = true;
            stage.time(*preview, InsideNamed(QStringLiteral("PrintPreview")),
                       [&] { window->printCommands()->previewAction()->trigger(); });
            stage.dialogs().showPreviews = false;
        }
        if (cards) {
            const bool opened = RunInModal([&] { window->reportCardsAction()->trigger(); },
                                           [&](QWidget* dialog) {
                                               auto* form = qobject_cast<TfrmReportCards*>(dialog);
                                               stage.timeUntilReturned(*cards, [&] {
                                                   stage.dialogs().files.push_back(file);
                                                   form->cmdPdf->click();
                                               });
                                           });
            if (!opened)
                stage.fault(*cards, QStringLiteral("成绩通知单 did not open"));
        }
    }
    QFile::remove(file);
    area->closeAllSubWindows();
    stage.settle();
}

} // namespace

const Driver PrintDriver{{TablePdf, TablePreview, CardsPdf}, &measure};

} // namespace bench
