#pragma once

#include "widgets/LaidOutTableView.h"

#include <QColor>
#include <QPointer>

class StringAlignModel;

// The aligned string grid: a table of plain texts whose row 0 is the fixed
// header row (drawn in silver and never scrolled away), with per-row text and
// background colours and per-cell and per-column alignment. Selection is by
// whole rows; cells are never edited in place.
//
// All coordinates are grid coordinates, column first as in (col, row), with
// the header in row 0. A column width or row height of -1 hides it.
class TStringAlignGrid : public LaidOutTableView {
    Q_OBJECT
public:
    explicit TStringAlignGrid(QWidget* parent = nullptr);
    ~TStringAlignGrid() override;

    int colCount() const;
    void setColCount(int count);
    int rowCount() const;
    // Raising either count appends empty columns or rows with default
    // properties; lowering it drops the last ones with everything they held.
    void setRowCount(int count);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    int defaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int width);
    int colWidth(int col) const;
    void setColWidth(int col, int width);

    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int height);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);

    QColor rowTextColor(int row) const;
    void setRowTextColor(int row, const QColor& color);
    QColor rowBackColor(int row) const;
    void setRowBackColor(int row, const QColor& color);
    // The background a row starts with: the system's window (edit field) colour.
    QColor windowColor() const;

    // A cell's own alignment goes before its column's; the default is left.
    // Only the horizontal part is kept: texts are always centred vertically.
    void setCellAlignment(int col, int row, Qt::Alignment alignment);
    void setColAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment alignment(int col, int row) const;

    // The row the user sees selected; -1 when no visible data row is.
    int currentRow() const;
    void setCurrentRow(int row);

    // The on-screen rectangle of a cell, for tests and tooltips.
    QRect cellRect(int col, int row) const;

    // Groups many changes of texts, colours and alignment into one for the
    // view, announced when the last open batch ends; what the grid holds
    // changes at once as ever. Batches nest.
    class Batch {
    public:
        explicit Batch(TStringAlignGrid* grid);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        QPointer<TStringAlignGrid> m_grid;
    };

private:
    void syncColumn(int col);
    void syncRow(int row);
    void keepCurrentRow();
    void leaveHiddenRow(int row);

    StringAlignModel* m_model = nullptr;
    int m_defaultColWidth = 80;
    int m_defaultRowHeight = 16;
    bool m_syncing = false;
};
