#pragma once

#include "widgets/StringAlignGrid.h"

#include <QPointer>

// An aligned string grid that stands under another one and keeps its
// columns: the same widths (also while the user drags them), the same hidden
// columns and the same sideways scroll, so that its cells stay under the
// other grid's. It shows no header row and no scroll bars and is as high as
// its rows; nothing in it can be selected.
class TFollowingGrid : public TStringAlignGrid {
    Q_OBJECT
public:
    TFollowingGrid(TStringAlignGrid* leader, QWidget* parent = nullptr);

    // Takes the leader's column count and widths; called after the leader's
    // columns were rebuilt. Texts of new columns are empty.
    void followColumns();
    // Sets the number of rows below the (hidden) header row and fits the height to them.
    void setDataRows(int rows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followWidth(int col, int width);
    void followViewport();

    QPointer<TStringAlignGrid> m_leader;
};
