#pragma once

#include "forms/Form.h"
#include "widgets/DataGrid.h"

#include <QString>
#include <QVector>

class QGroupBox;
class QPushButton;

// The two-list move window of the teaching plan: on the left the user picks
// what the lists belong to (a term, or a class within a term); on the right
// the upper list holds what is assigned to it and the lower list what is not
// yet. "↑" (or a double-click in the lower list) assigns, "↓" (or a
// double-click in the upper list) removes; each move is one statement and
// both lists are reloaded from the database after it succeeded, so the
// window never shows an assignment that is not stored.
class TAssignForm : public TForm {
    Q_OBJECT
public:
    // What tells the windows apart besides the statements.
    struct Layout {
        QString objectName;
        QString caption;
        int clientWidth = 0;
        int clientHeight = 0;
        int upperHeight = 0;
        QString initialUpperCaption; // until the first load
        QString lowerCaption;
        QString upperGrid, lowerGrid;   // object names of the two grids
        QString upperQuery, lowerQuery; // object names of their query objects
        QVector<GridColumn> columns;    // both grids show the same columns
        QString codeField;              // the code a move takes from the current row
        QString upperReadFailed;        // message when the upper list cannot be read
    };

    // Reloads both lists and the upper caption for what is chosen on the left.
    bool ReadyList();
    void sbUpClick();
    void sbDownClick();

protected:
    TAssignForm(const Layout& shape, QWidget* parent);

    // Puts the chooser at the window's left edge, first in tab order, with the focus.
    void setChooser(QWidget* chooser);

    // The specialisations: the two lists of what is chosen, and the move of
    // one code between them.
    virtual bool hasChoice() const = 0;
    // Runs when nothing usable is chosen; by default nothing changes.
    virtual void nothingChosen() {}
    virtual Statement upperList() const = 0;
    virtual Statement lowerList() const = 0;
    virtual QString upperCaption() const = 0;
    virtual DbResult assign(const QString& code) const = 0;
    virtual DbResult unassign(const QString& code) const = 0;

    QueryObject* upperRows() const { return m_upper; }
    QueryObject* lowerRows() const { return m_lower; }

private:
    void move(QueryObject* from, bool assigning);

    Layout m_layout;
    QWidget* m_right = nullptr;
    QGroupBox* m_upperBox = nullptr; // GroupBox2
    DataGrid* m_upperGrid = nullptr;
    DataGrid* m_lowerGrid = nullptr;
    QueryObject* m_upper = nullptr;
    QueryObject* m_lower = nullptr;
    QPushButton* m_sbUp = nullptr;
    QPushButton* m_sbDown = nullptr;
};

// A grid of the plan windows: read-only rows, filled from query.
DataGrid* MakeListGrid(QWidget* parent, const QString& objectName, QueryObject* query,
                       const QVector<GridColumn>& columns);
// A group box that the grid fills.
QGroupBox* MakeListBox(QWidget* parent, const QString& objectName, const QString& caption, DataGrid* grid);
// A visible grid column with a centred title.
GridColumn ListColumn(const QString& field, const QString& title, int width);
