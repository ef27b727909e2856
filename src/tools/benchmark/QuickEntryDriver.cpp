// Quick score entry (成绩快速录入), an MDI child of the main window: a click
// on a class, a typed cell stored with Enter, and a whole class pasted.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Stage.h"

#include "widgets/TermClassTree.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace bench {

namespace {

const Action Click{"成绩快速录入: click on a class", Kind::Read};
const Action Store{"成绩快速录入: Enter stores a cell and moves on (one transaction)", Kind::Write, 2.0};
const Action Paste{"成绩快速录入: paste a whole class's block (one transaction)", Kind::Write, 20.0};

const char* const kMenuItem = "mnuQuickEntry";

// A score with a quarter, which no generated score has, so that every
// store changes its row.
QString Score(int n)
{
    return QString::number(40 + n % 60) + QStringLiteral(".25");
}

// Every score of the sheet's class, as a spreadsheet puts it on the
// clipboard: a row per student, a cell per column between 学号 and 总分.
QString ClassBlock(const QAbstractItemModel& sheet, int run)
{
    QStringList rows;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        QStringList cells;
        for (int j = 0; j < sheet.columnCount() - 3; ++j)
            cells << Score(r * 7 + j * 3 + run);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// The cell editor the sheet shows; the editors of earlier cells may still
// wait for their deletion, hidden.
QLineEdit* openEditor(const QAbstractItemView* sheet)
{
    for (QLineEdit* editor : sheet->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

void measure(Stage& stage)
{
    Figures& click = stage.add(Click);
    Figures& store = stage.add(Store);
    Figures& paste = stage.add(Paste);
    QWidget* window = stage.openMdiChild(kMenuItem);
    auto* tree = window ? window->findChild<TTermClassTree*>() : nullptr;
    auto* sheet = window ? window->findChild<QAbstractItemView*>(QStringLiteral("Sheet")) : nullptr;
    if (!tree || !sheet || !sheet->model()) {
        for (Figures* f : {&click, &store, &paste})
            stage.fault(*f, QStringLiteral("the quick entry window did not open with its tree and sheet"));
        stage.closeMdiChildren();
        return;
    }
    const auto onSheet = Is(sheet->viewport());
    for (int i = 0; i < stage.timedRuns(); ++i) {
        stage.timeClassClick(click, tree, onSheet, i);

        // The first student's first score typed as a user types it; Enter
        // stores it and moves down.
        const QString typed = Score(i);
        QTest::keyClick(sheet, typed.at(0).toLatin1()); // starts editing the current cell
        QLineEdit* editor = openEditor(sheet);
        if (!editor) {
            stage.fault(store, QStringLiteral("typing into the sheet opened no editor"));
            stage.fault(paste, QStringLiteral("typing into the sheet opened no editor"));
            break;
        }
        QTest::keyClicks(editor, typed.mid(1));
        stage.time(store, onSheet, [editor] { QTest::keyClick(editor, Qt::Key_Return); });

        // Back up to that score, and the class over it from the clipboard.
        QApplication::clipboard()->setText(ClassBlock(*sheet->model(), i));
        QTest::keyClick(sheet, Qt::Key_Up);
        stage.settle();
        stage.time(paste, onSheet, [sheet] { QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier); });
    }
    stage.closeMdiChildren();
}

} // namespace

const Driver QuickEntryDriver{{Click, Store, Paste}, &measure};

} // namespace bench
