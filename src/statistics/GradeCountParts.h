#pragma once

#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QVector>

class TStringAlignGrid;

// Parts of the statistics window around its table.

// An aligned string grid as the statistics window lays its tables out:
// columns 80 and rows 16 pixels by default.
TStringAlignGrid* MakeStatisticsGrid(QWidget* parent, const QString& name, int cols, int rows);
// The same as a display: no row is ever selected, not even the first one a
// built table starts on.
TStringAlignGrid* MakeDisplayGrid(QWidget* parent, const QString& name, int cols, int rows);

// The legend's caption and its entries, each with the colours of its mark:
// the window's legend and the exported table's show the same.
struct LegendEntry {
    QString text;
    QColor textColour;       // invalid: black
    QColor backgroundColour; // invalid: none
};
const QString& LegendCaption();
const QVector<LegendEntry>& LegendEntries();

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
