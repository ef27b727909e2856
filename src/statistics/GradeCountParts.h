#pragma once

#include <QFrame>
#include <QGroupBox>

class TStringAlignGrid;

// Parts of the statistics window around its table.

// An aligned string grid as the statistics window lays its tables out:
// columns 80 and rows 16 pixels by default.
TStringAlignGrid* MakeStatisticsGrid(QWidget* parent, const QString& name, int cols, int rows);
// The same as a display: no row is ever selected, not even the first one a
// built table starts on.
TStringAlignGrid* MakeDisplayGrid(QWidget* parent, const QString& name, int cols, int rows);

// The colour legend under the table, "颜色标示说明：" and one label per mark
// in the mark's colours.
class ColourLegend : public QFrame {
    Q_OBJECT
public:
    explicit ColourLegend(QWidget* parent = nullptr);
};

// The box "成绩最优/最差对比" with its grid of the lowest and highest totals;
// hidden until the user asks for it.
class ComparisonBox : public QGroupBox {
    Q_OBJECT
public:
    explicit ComparisonBox(QWidget* parent = nullptr);
    TStringAlignGrid* grid() const { return m_grid; }

private:
    TStringAlignGrid* m_grid = nullptr;
};
