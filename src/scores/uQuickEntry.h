#pragma once

#include "scores/ScoreHistory.h"

#include <QModelIndex>
#include <QWidget>

class QGroupBox;
class QMdiArea;
class ScoreSheetModel;
class ScoreSheetView;
class SheetButton;
class StatusLine;
class TTermClassTree;

// "成绩快速录入": a whole class's scores of a term in one grid, typed with
// the keyboard, pasted from a spreadsheet and taken back. The term/class
// navigator at the left; the grid shows the class last clicked, one row per
// student and one column per subject of the plan, with each total.
//
// Every stored cell, paste and clear is written at once in a transaction of
// its own and kept in the window's history, which takes changes back only
// where nobody has changed the cells since. Messages go to the status line
// at the foot; only a failed read of a class is a message box, as in every
// window. Not modal; several may be open.
class TfrmQuickEntry : public QWidget {
    Q_OBJECT
public:
    explicit TfrmQuickEntry(QWidget* parent = nullptr);

    bool ReadyData();
    void TreeClick();

    // The commands; each reports in the status line.
    // Stores a typed text into a cell; false, with the reason shown, when
    // the text is no score or nothing could be stored.
    bool storeCell(const QModelIndex& cell, const QString& text);
    bool pasteText(const QString& text); // a tab-separated block at the current cell
    void paste();                        // the clipboard's text
    void copySelection();
    void clearSelection(); // Delete
    void undo();
    void redo();
    // "导入成绩" behind "导入/导出…": a sheet of the class's scores.
    void ImportScores();

    TTermClassTree* tree() const { return m_tree; }
    ScoreSheetView* sheetView() const { return m_view; }
    ScoreSheetModel* sheet() const { return m_sheet; }
    const ScoreHistory* history() const { return m_history; }
    QString statusText() const;
    QString caption() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads a class and shows it; false when the read failed (reported).
    bool showClass(const SheetClass& klass, const QString& termName, const QString& className);
    // Selects the class's node in the tree, as if it had been clicked.
    void selectNode(const SheetClass& klass);
    void showStatus(const QString& text, bool problem = false);
    // Whether the write stored every cell. A refusal is told in the status
    // line, a failed statement also by the window's message; whatFollows
    // says what became of the command.
    bool stored(const DbValue<SheetWrite>& written, const QStringList& names, const QString& whatFollows);
    void record(ScoreChange::Kind kind, const QVector<SheetCell>& cells, const QStringList& names,
                const QVector<CellScore>& before, const QVector<CellScore>& after);
    // The score cells of the selection (or the current cell), row by row.
    QModelIndexList selectedScoreCells() const;
    // Selects the cells' rectangle on the sheet, its first cell current.
    void selectCells(const QVector<SheetCell>& cells);
    enum class Direction { Undo, Redo };
    void takeBack(Direction direction);

    TTermClassTree* m_tree = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    ScoreSheetView* m_view = nullptr;
    ScoreSheetModel* m_sheet = nullptr;
    StatusLine* m_statusLine = nullptr;
    SheetButton* cmdSheets = nullptr;
    ScoreHistory* m_history = nullptr;
    QString m_termName;
    QString m_className;
};

// Opens one more quick entry window, maximised inside the given MDI area (on
// its own without one); false when its tree could not be loaded (the
// failure was reported).
bool ShowQuickEntry(QMdiArea* area);
