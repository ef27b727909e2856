#include "scores/uQuickEntry.h"

#include "data/Messages.h"
#include "data/SqlText.h"
#include "forms/ScoreText.h"
#include "forms/uPub.h"
#include "scores/ScoreSheetModel.h"
#include "scores/ScoreSheetView.h"
#include "transfer/ScoreSheetCommands.h"
#include "transfer/SheetButton.h"
#include "widgets/StatusLine.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

using Step = ClassResultsLoad::Step;
using Outcome = SheetWrite::Outcome;

const QString NotStored = QStringLiteral("粘贴的成绩都未保存！");

// A value from a cell or the clipboard, short enough for the status line.
QString Quoted(const QString& text)
{
    const int shown = 20;
    return QStringLiteral("“") + (text.size() > shown ? text.left(shown) + QStringLiteral("…") : text) +
           QStringLiteral("”");
}

QString Describe(const ScoreChange& change)
{
    switch (change.kind) {
    case ScoreChange::Kind::Cell:
        return change.cellNames.value(0);
    case ScoreChange::Kind::Paste:
        return QStringLiteral("粘贴的%1个成绩").arg(change.cells.size());
    case ScoreChange::Kind::Clear:
        return QStringLiteral("清除的%1个成绩").arg(change.cells.size());
    }
    return {};
}

} // namespace

TfrmQuickEntry::TfrmQuickEntry(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmQuickEntry"));
    setWindowTitle(QStringLiteral("成绩快速录入"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    resize(780, 520);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    outer->addLayout(body, 1);

    m_tree = new TTermClassTree(this);
    body->addWidget(m_tree);

    GroupBox2 = new QGroupBox(QStringLiteral("班级XX的成绩"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    body->addWidget(GroupBox2, 1);
    auto* boxLayout = new QVBoxLayout(GroupBox2);
    boxLayout->setContentsMargins(2, 2, 2, 2);
    m_sheet = new ScoreSheetModel(this);
    m_view = new ScoreSheetView(GradeScores(), GroupBox2);
    m_view->setObjectName(QStringLiteral("Sheet"));
    m_view->setSheet(m_sheet);
    boxLayout->addWidget(m_view);

    auto* statusPanel = new QFrame(this);
    statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    statusPanel->setFrameShape(QFrame::Panel);
    statusPanel->setFrameShadow(QFrame::Sunken);
    statusPanel->setFixedHeight(22);
    auto* statusLayout = new QHBoxLayout(statusPanel);
    statusLayout->setContentsMargins(6, 0, 6, 0);
    m_statusLine = new StatusLine(statusPanel);
    m_statusLine->setObjectName(QStringLiteral("StatusLine"));
    statusLayout->addWidget(m_statusLine, 1);
    // "导入/导出…" at the right of the status line, the window's foot.
    cmdSheets = new SheetButton(statusPanel);
    cmdSheets->setFixedHeight(20);
    cmdSheets->addCommand(QStringLiteral("导出本班成绩"), QStringLiteral("mnuExportScores"),
                          [this] { ScoreSheetCommands::Export(this, m_tree->ShownClass(), true); });
    cmdSheets->addCommand(QStringLiteral("导入成绩"), QStringLiteral("mnuImport"),
                          [this] { ImportScores(); });
    cmdSheets->addCommand(QStringLiteral("导出模板"), QStringLiteral("mnuTemplate"),
                          [this] { ScoreSheetCommands::Export(this, m_tree->ShownClass(), false); });
    statusLayout->addWidget(cmdSheets);
    outer->addWidget(statusPanel);

    m_history = new ScoreHistory(this);

    // Taking back works wherever the focus is in the window; an open edit
    // keeps Ctrl+Z for its own text.
    auto* undoAction = new QAction(QStringLiteral("撤销"), this);
    undoAction->setObjectName(QStringLiteral("actUndo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(undoAction);
    auto* redoAction = new QAction(QStringLiteral("重做"), this);
    redoAction->setObjectName(QStringLiteral("actRedo"));
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(redoAction);

    setTabOrder(m_tree, m_view);
    setFocusProxy(m_tree);

    m_view->setStoreCell([this](const QModelIndex& cell, const QString& text) {
        bool stored = false;
        Guarded([&] { stored = storeCell(cell, text); })();
        return stored;
    });
    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
    connect(m_view, &ScoreSheetView::pasteRequested, this, Guarded([this] { paste(); }));
    connect(m_view, &ScoreSheetView::copyRequested, this, Guarded([this] { copySelection(); }));
    connect(m_view, &ScoreSheetView::clearRequested, this, Guarded([this] { clearSelection(); }));
    connect(undoAction, &QAction::triggered, this, Guarded([this](bool) { undo(); }));
    connect(redoAction, &QAction::triggered, this, Guarded([this](bool) { redo(); }));
}

bool TfrmQuickEntry::ReadyData()
{
    return m_tree->LoadTree();
}

QString TfrmQuickEntry::statusText() const
{
    return m_statusLine->text();
}

QString TfrmQuickEntry::caption() const
{
    return GroupBox2->title();
}

void TfrmQuickEntry::showStatus(const QString& text, bool problem)
{
    QPalette palette = m_statusLine->palette();
    palette.setColor(QPalette::WindowText,
                     problem ? QColor(255, 0, 0) : this->palette().color(QPalette::WindowText));
    m_statusLine->setPalette(palette);
    m_statusLine->setText(text);
}

void TfrmQuickEntry::TreeClick()
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty()) {
        m_sheet->clear(); // a term node: nothing to type into
        return;
    }
    if (showClass({StrToInt(shown.TermCode), shown.ClassCode}, shown.TermName, shown.ClassName))
        m_view->setFocus(Qt::OtherFocusReason);
}

void TfrmQuickEntry::ImportScores()
{
    // The sheet shows the stored scores again; the history stays, and takes
    // back only cells the import left as this window stored them.
    const ClassSelection shown = m_tree->ShownClass();
    if (ScoreSheetCommands::Import(this, shown))
        showClass({StrToInt(shown.TermCode), shown.ClassCode}, shown.TermName, shown.ClassName);
}

bool TfrmQuickEntry::showClass(const SheetClass& klass, const QString& termName, const QString& className)
{
    // The caption names the class asked for, also when its reading fails.
    GroupBox2->setTitle(QStringLiteral("班级 [") + className + QStringLiteral("] ") + termName +
                        QStringLiteral(" 的成绩"));
    m_termName = termName;
    m_className = className;
    const ClassResultsLoad load = LoadClassResults(klass.termCode, klass.classCode);
    // The sheet needs the roster, the plan, the scores and the standards; the
    // previous term's totals are not shown here.
    if (!load.has(Step::Standards)) {
        m_sheet->clear();
        ShowMessage(load.failed == Step::Plan ? Msg::OpenFailed : Msg::ReadFailed);
        return false;
    }
    m_sheet->setResults(load.results);
    m_view->horizontalHeader()->resizeSection(ScoreSheetModel::NameColumn, 80);
    m_view->goTo(m_sheet->index(0, ScoreSheetModel::FirstSubjectColumn));
    showStatus(QString());
    return true;
}

void TfrmQuickEntry::selectNode(const SheetClass& klass)
{
    QTreeWidget* tree = m_tree->Tree();
    for (int t = 0; t < tree->topLevelItemCount(); ++t) {
        QTreeWidgetItem* term = tree->topLevelItem(t);
        if (TTermClassTree::nodeData(term).Code != QString::number(klass.termCode))
            continue;
        term->setExpanded(true); // its classes are read when it is first opened
        for (int c = 0; c < term->childCount(); ++c) {
            if (TTermClassTree::nodeData(term->child(c)).Code == klass.classCode) {
                tree->setCurrentItem(term->child(c));
                return;
            }
        }
    }
}

bool TfrmQuickEntry::storeCell(const QModelIndex& cell, const QString& text)
{
    if (!m_sheet->isScoreCell(cell))
        return false;
    const std::optional<double> score = ScoreFromText(GradeScores(), text);
    if (!score) {
        showStatus(text.isEmpty() ? QStringLiteral("成绩分数尚未输入！按Esc键放弃修改。")
                                  : Quoted(text) + QStringLiteral("不是有效的成绩分数，未保存！"),
                   true);
        return false;
    }
    const SheetCell key = m_sheet->cellAt(cell);
    const QString name = m_sheet->cellName(cell);
    const DbValue<SheetWrite> written = ScoreSheet::StoreScore(m_sheet->shownClass(), key, *score);
    if (!stored(written, {name}, QStringLiteral("成绩未保存！")))
        return false;
    m_sheet->setScore(cell, *score);
    record(ScoreChange::Kind::Cell, {key}, {name}, written->before, {*score});
    showStatus(QStringLiteral("已保存：") + name + QLatin1Char(' ') + FormatPlainNumber(*score) +
               QStringLiteral("。"));
    return true;
}

bool TfrmQuickEntry::stored(const DbValue<SheetWrite>& written, const QStringList& names,
                            const QString& whatFollows)
{
    if (!Succeeded(written, Msg::StoreFailed)) {
        showStatus(Msg::StoreFailed + QLatin1Char(' ') + whatFollows, true);
        return false;
    }
    switch (written->outcome) {
    case Outcome::Stored:
        return true;
    case Outcome::StudentGone:
        showStatus(names.value(written->offending) + QStringLiteral("：该学生已不在本班，") + whatFollows +
                       QStringLiteral("请重新点击班级。"),
                   true);
        break;
    case Outcome::Changed:
        showStatus(names.value(written->offending) + QStringLiteral("的成绩已被其他窗口或程序修改，") +
                       whatFollows,
                   true);
        break;
    }
    return false;
}

void TfrmQuickEntry::record(ScoreChange::Kind kind, const QVector<SheetCell>& cells, const QStringList& names,
                            const QVector<CellScore>& before, const QVector<CellScore>& after)
{
    ScoreChange change;
    change.kind = kind;
    change.klass = m_sheet->shownClass();
    change.termName = m_termName;
    change.className = m_className;
    change.cells = cells;
    change.cellNames = names;
    change.before = before;
    change.after = after;
    m_history->push(std::move(change));
}

bool TfrmQuickEntry::pasteText(const QString& text)
{
    const QModelIndex at = m_view->currentIndex();
    if (!m_sheet->isScoreCell(at)) {
        showStatus(QStringLiteral("请先选定粘贴的第一个成绩单元格！"), true);
        return false;
    }
    const QVector<QStringList> rows = TabSeparatedRows(text);
    QVector<CellWrite> writes;
    QStringList names;
    // A blank cell leaves its score as it is; anything else must be a score
    // inside the grid, or nothing is stored. Blanks beyond the grid (a
    // spreadsheet's empty trailing cells) are no fault.
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QString value = rows.at(r).at(c).trimmed();
            if (value.isEmpty())
                continue;
            const QModelIndex cell = m_sheet->index(at.row() + r, at.column() + c);
            if (!cell.isValid() || !m_sheet->isScoreCell(cell)) {
                showStatus(QStringLiteral("粘贴内容第%1行第%2列的").arg(r + 1).arg(c + 1) + Quoted(value) +
                               QStringLiteral("超出了成绩表格，") + NotStored,
                           true);
                return false;
            }
            const std::optional<double> score = ScoreFromText(GradeScores(), value);
            if (!score) {
                showStatus(m_sheet->cellName(cell) + QStringLiteral("的") + Quoted(value) +
                               QStringLiteral("不是有效的成绩分数，") + NotStored,
                           true);
                return false;
            }
            writes.append({m_sheet->cellAt(cell), *score});
            names.append(m_sheet->cellName(cell));
        }
    }
    if (writes.isEmpty()) {
        showStatus(QStringLiteral("剪贴板中没有可以粘贴的成绩。"), true);
        return false;
    }
    const DbValue<SheetWrite> written = ScoreSheet::StoreScores(m_sheet->shownClass(), writes);
    if (!stored(written, names, NotStored))
        return false;
    QVector<SheetCell> cells;
    QVector<CellScore> after;
    cells.reserve(writes.size());
    after.reserve(writes.size());
    for (const CellWrite& w : writes) {
        cells.append(w.cell);
        after.append(w.score);
    }
    m_sheet->setScores(cells, after);
    record(ScoreChange::Kind::Paste, cells, names, written->before, after);
    selectCells(cells);
    showStatus(QStringLiteral("已粘贴%1个成绩。").arg(cells.size()));
    return true;
}

void TfrmQuickEntry::paste()
{
    pasteText(QGuiApplication::clipboard()->text());
}

void TfrmQuickEntry::copySelection()
{
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    const QModelIndexList cells = selected.isEmpty() ? QModelIndexList{m_view->currentIndex()} : selected;
    int top = m_sheet->rowCount(), left = m_sheet->columnCount(), bottom = -1, right = -1;
    for (const QModelIndex& cell : cells) {
        if (!cell.isValid())
            continue;
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    if (bottom < 0)
        return;
    QGuiApplication::clipboard()->setText(m_sheet->copyText(top, left, bottom, right));
    showStatus(QStringLiteral("已复制%1行×%2列。").arg(bottom - top + 1).arg(right - left + 1));
}

QModelIndexList TfrmQuickEntry::selectedScoreCells() const
{
    QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        selected.append(m_view->currentIndex());
    std::sort(selected.begin(), selected.end());
    QModelIndexList cells;
    for (const QModelIndex& cell : selected)
        if (m_sheet->isScoreCell(cell))
            cells.append(cell);
    return cells;
}

void TfrmQuickEntry::clearSelection()
{
    const QModelIndexList selected = selectedScoreCells();
    QVector<SheetCell> keys;
    QStringList keyNames;
    for (const QModelIndex& cell : selected) {
        keys.append(m_sheet->cellAt(cell));
        keyNames.append(m_sheet->cellName(cell));
    }
    if (keys.isEmpty())
        return;
    const DbValue<SheetWrite> written = ScoreSheet::ClearScores(m_sheet->shownClass(), keys);
    if (!stored(written, keyNames, QStringLiteral("成绩未清除！")))
        return;
    // Only the cells that held a score are a change to take back.
    QVector<SheetCell> cells;
    QStringList names;
    QVector<CellScore> before;
    for (int i = 0; i < keys.size(); ++i) {
        if (!written->before.at(i))
            continue;
        cells.append(keys.at(i));
        names.append(keyNames.at(i));
        before.append(written->before.at(i));
    }
    m_sheet->setScores(keys, QVector<CellScore>(keys.size()));
    if (cells.isEmpty()) {
        showStatus(QStringLiteral("所选单元格中没有成绩。"));
        return;
    }
    record(ScoreChange::Kind::Clear, cells, names, before, QVector<CellScore>(cells.size()));
    showStatus(QStringLiteral("已清除%1个成绩。").arg(cells.size()));
}

void TfrmQuickEntry::selectCells(const QVector<SheetCell>& cells)
{
    int top = m_sheet->rowCount(), left = m_sheet->columnCount(), bottom = -1, right = -1;
    for (const SheetCell& cell : cells) {
        const QModelIndex at = m_sheet->indexOf(cell);
        if (!at.isValid())
            continue;
        top = std::min(top, at.row());
        bottom = std::max(bottom, at.row());
        left = std::min(left, at.column());
        right = std::max(right, at.column());
    }
    if (bottom < 0)
        return;
    const QModelIndex first = m_sheet->index(top, left);
    m_view->goTo(first);
    m_view->selectionModel()->select(QItemSelection(first, m_sheet->index(bottom, right)),
                                     QItemSelectionModel::ClearAndSelect);
}

void TfrmQuickEntry::undo()
{
    takeBack(Direction::Undo);
}

void TfrmQuickEntry::redo()
{
    takeBack(Direction::Redo);
}

void TfrmQuickEntry::takeBack(Direction direction)
{
    const bool undoing = direction == Direction::Undo;
    const ScoreChange* next = undoing ? m_history->nextUndo() : m_history->nextRedo();
    if (!next) {
        showStatus(undoing ? QStringLiteral("没有可以撤销的修改。") : QStringLiteral("没有可以重做的修改。"));
        return;
    }
    if (!m_view->finishEdit())
        return;
    const ScoreChange change = *next;
    // A change of another class is taken back where it can be seen.
    if (!m_sheet->hasClass() || m_sheet->shownClass() != change.klass) {
        selectNode(change.klass);
        if (!showClass(change.klass, change.termName, change.className))
            return;
    }
    const DbValue<SheetWrite> written = undoing ? m_history->undo() : m_history->redo();
    const QString verb = undoing ? QStringLiteral("撤销") : QStringLiteral("重做");
    if (!stored(written, change.cellNames, QStringLiteral("不能") + verb + QStringLiteral("！"))) {
        if (written && written->offending >= 0)
            selectCells({change.cells.at(written->offending)});
        return;
    }
    m_sheet->setScores(change.cells, undoing ? change.before : change.after);
    selectCells(change.cells);
    showStatus(QStringLiteral("已") + verb + QStringLiteral("：") + Describe(change) + QStringLiteral("。"));
}

void TfrmQuickEntry::closeEvent(QCloseEvent* event)
{
    // What was typed into an open edit is stored as Enter would; a text
    // that is no score cannot be, and goes with the window.
    if (!m_view->finishEdit())
        m_view->abandonEdit();
    if (!qobject_cast<QMdiSubWindow*>(parentWidget()))
        setAttribute(Qt::WA_DeleteOnClose);
    QWidget::closeEvent(event);
}

bool ShowQuickEntry(QMdiArea* area)
{
    return RunInMdiArea<TfrmQuickEntry>(area) != nullptr;
}
