#pragma once

#include "widgets/LaidOutTableView.h"

#include <QPersistentModelIndex>
#include <functional>

class QLineEdit;
class ScoreSheetModel;
struct ScoreKind;

// The grid of the quick entry sheet, worked with the keyboard as a
// spreadsheet: a character a score field accepts starts editing the current
// cell and replaces its text, F2 and a double click edit keeping it; Enter
// stores and moves down (after the last student to the first of the next
// subject), Tab and Shift+Tab store and move right and left (on to the next
// or previous student at the ends); Esc abandons the edit; the arrow keys
// move when not editing. An edit the store refuses stays open.
//
// The view stores nothing itself: it hands the typed text to the store
// function it was given, and asks for clearing, copying and pasting with
// its signals.
class ScoreSheetView : public LaidOutTableView {
    Q_OBJECT
public:
    // True when the cell was stored; false keeps the edit open.
    using StoreCell = std::function<bool(const QModelIndex& cell, const QString& text)>;
    enum class Move { Down, Right, Left };

    ScoreSheetView(const ScoreKind& kind, QWidget* parent = nullptr);

    void setSheet(ScoreSheetModel* sheet);
    ScoreSheetModel* sheet() const { return m_sheet; }
    void setStoreCell(StoreCell store) { m_store = std::move(store); }

    bool isEditing() const { return editor() != nullptr; }
    QLineEdit* editor() const;
    // Stores an open edit as Enter does, without moving; false when the
    // store refused it (the edit stays open). True when nothing was open.
    bool finishEdit();
    void abandonEdit();

    // The cell a move from cell leads to; cell itself at the sheet's ends.
    QModelIndex cellAfter(const QModelIndex& cell, Move move) const;
    // Makes cell the current cell, selected alone.
    void goTo(const QModelIndex& cell);

signals:
    void clearRequested();
    void copyRequested();
    void pasteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class ScoreCellDelegate;

    // Opens the editor on the current cell, with text in place of the
    // cell's own when replacing.
    void startEdit(bool replace, const QString& text = QString());
    void storeAndMove(Move move);
    // The editor lost the focus to something else in the program: what was
    // typed is stored when it can be, otherwise abandoned.
    void editorLeft();
    void closeEdit();

    const ScoreKind& m_kind;
    ScoreSheetModel* m_sheet = nullptr;
    StoreCell m_store;
    QPersistentModelIndex m_editing;
    bool m_replaced = false;   // the edit began with a typed character
    bool m_fromEditor = false; // the focus is coming back from the cell's editor
};
