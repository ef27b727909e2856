#include "scores/ScoreSheetView.h"

#include "forms/ScoreText.h"
#include "scores/ScoreSheetModel.h"
#include "widgets/PlainCellDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

// The editor of a score cell: a field with the score dialog's key filter,
// whose text takes the mark the typed score would get. Its keys are the
// view's: storing, moving and abandoning never go through Qt's own commit.
class ScoreCellDelegate : public PlainCellDelegate {
public:
    ScoreCellDelegate(const ScoreKind& kind, ScoreSheetView* view)
        : PlainCellDelegate(view), m_kind(kind), m_view(view)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        GuardScoreField(edit, m_kind);
        const int subject = m_view->sheet()->subjectAt(index.column());
        const ScoreKind& kind = m_kind;
        const ScoreSheetModel* sheet = m_view->sheet();
        const QPalette plain = edit->palette();
        QObject::connect(
            edit, &QLineEdit::textChanged, edit, [edit, sheet, subject, &kind, plain](const QString& text) {
                QPalette palette = plain;
                if (const std::optional<QColor> mark = sheet->markColor(subject, ScoreFromText(kind, text)))
                    palette.setColor(QPalette::Text, *mark);
                edit->setPalette(palette);
            });
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
    }

    // Nothing is written through the model: the view's store does it.
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object != m_view->editor())
            return PlainCellDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                m_view->storeAndMove(ScoreSheetView::Move::Down);
                return true;
            case Qt::Key_Tab:
                m_view->storeAndMove(ScoreSheetView::Move::Right);
                return true;
            case Qt::Key_Backtab:
                m_view->storeAndMove(ScoreSheetView::Move::Left);
                return true;
            case Qt::Key_Escape:
                m_view->abandonEdit();
                return true;
            default:
                break;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            // Another program or a menu taking the focus leaves the edit open.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_view->editorLeft();
            return false;
        }
        return PlainCellDelegate::eventFilter(object, event);
    }

private:
    const ScoreKind& m_kind;
    ScoreSheetView* m_view;
};

ScoreSheetView::ScoreSheetView(const ScoreKind& kind, QWidget* parent)
    : LaidOutTableView(parent), m_kind(kind)
{
    setItemDelegate(new ScoreCellDelegate(kind, this));
    setEditTriggers(NoEditTriggers); // editing starts only as the class comment says
    setSelectionBehavior(SelectItems);
    setSelectionMode(ContiguousSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide(); // the students' names say which row is which
}

void ScoreSheetView::setSheet(ScoreSheetModel* sheet)
{
    m_sheet = sheet;
    setModel(sheet);
}

QLineEdit* ScoreSheetView::editor() const
{
    return m_editing.isValid() ? qobject_cast<QLineEdit*>(indexWidget(m_editing)) : nullptr;
}

void ScoreSheetView::startEdit(bool replace, const QString& text)
{
    const QModelIndex at = currentIndex();
    if (!m_sheet || !m_sheet->isScoreCell(at))
        return;
    scrollTo(at);
    // Known before the editor takes the focus, so that the view sees where the focus went.
    m_editing = at;
    if (!QTableView::edit(at, AllEditTriggers, nullptr)) {
        m_editing = QPersistentModelIndex();
        return;
    }
    m_replaced = replace;
    QLineEdit* edit = editor();
    if (!edit)
        return;
    if (replace)
        edit->setText(text);
    edit->deselect();
    edit->end(false);
}

bool ScoreSheetView::finishEdit()
{
    QLineEdit* edit = editor();
    if (!edit)
        return true;
    // An edit nothing was typed into stores nothing: the text shown may be
    // rounded, and a stale view must not write back what it was loaded with.
    if (m_replaced || edit->isModified()) {
        if (!m_store || !m_store(m_editing, edit->text()))
            return false;
    }
    closeEdit();
    return true;
}

void ScoreSheetView::abandonEdit()
{
    closeEdit();
}

void ScoreSheetView::closeEdit()
{
    QLineEdit* edit = editor();
    m_editing = QPersistentModelIndex();
    if (!edit)
        return;
    m_fromEditor = edit->hasFocus();
    closeEditor(edit, QAbstractItemDelegate::NoHint);
    m_fromEditor = false;
}

void ScoreSheetView::storeAndMove(Move move)
{
    const QModelIndex from = m_editing;
    if (!finishEdit())
        return;
    goTo(cellAfter(from, move));
}

void ScoreSheetView::editorLeft()
{
    if (!finishEdit())
        abandonEdit();
}

QModelIndex ScoreSheetView::cellAfter(const QModelIndex& cell, Move move) const
{
    if (!m_sheet || !cell.isValid())
        return cell;
    const int rows = m_sheet->rowCount();
    const int r = cell.row();
    const int c = cell.column();
    const int first = ScoreSheetModel::FirstSubjectColumn;
    const int last = m_sheet->lastSubjectColumn();
    const bool subjects = last >= first;
    switch (move) {
    case Move::Down:
        if (r + 1 < rows)
            return m_sheet->index(r + 1, c);
        if (m_sheet->subjectAt(c) >= 0 && c < last)
            return m_sheet->index(0, c + 1);
        return cell;
    case Move::Right:
        if (!subjects)
            return cell;
        if (c < first)
            return m_sheet->index(r, first);
        if (c < last)
            return m_sheet->index(r, c + 1);
        return r + 1 < rows ? m_sheet->index(r + 1, first) : cell;
    case Move::Left:
        if (!subjects)
            return cell;
        if (c > last)
            return m_sheet->index(r, last);
        if (c > first)
            return m_sheet->index(r, c - 1);
        return r > 0 && c == first ? m_sheet->index(r - 1, last) : cell;
    }
    return cell;
}

void ScoreSheetView::goTo(const QModelIndex& cell)
{
    if (!cell.isValid())
        return;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

void ScoreSheetView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
        return;
    }
    const QModelIndex at = currentIndex();
    switch (event->key()) {
    case Qt::Key_Delete:
        emit clearRequested();
        return;
    case Qt::Key_F2:
        startEdit(false);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        goTo(cellAfter(at, Move::Down));
        return;
    case Qt::Key_Tab:
        goTo(cellAfter(at, Move::Right));
        return;
    case Qt::Key_Backtab:
        goTo(cellAfter(at, Move::Left));
        return;
    default:
        break;
    }
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typed) {
        // Characters a score cannot hold do nothing, rather than jumping to
        // a student by name as a list would.
        if (ScoreKeyAccepted(m_kind, text.at(0)))
            startEdit(true, text.left(1));
        return;
    }
    LaidOutTableView::keyPressEvent(event);
}

// The focus going to a cell's editor and back changes the look of the
// current cell alone: the view would repaint all of itself each time, which
// is most of the cost of storing a cell and moving on.
void ScoreSheetView::focusInEvent(QFocusEvent* event)
{
    if (!m_fromEditor) {
        LaidOutTableView::focusInEvent(event);
        return;
    }
    update(currentIndex());
}

void ScoreSheetView::focusOutEvent(QFocusEvent* event)
{
    const QWidget* next = QApplication::focusWidget();
    if (!next || next != editor()) {
        LaidOutTableView::focusOutEvent(event);
        return;
    }
    update(currentIndex());
}

void ScoreSheetView::mouseDoubleClickEvent(QMouseEvent* event)
{
    LaidOutTableView::mouseDoubleClickEvent(event);
    startEdit(false);
}
