#include "statistics/GradeCountParts.h"

#include "statistics/ResultsTable.h"
#include "widgets/StringAlignGrid.h"

#include <QLabel>
#include <QVBoxLayout>
#include <optional>

namespace {

QLabel* MakeLabel(const QString& text, QWidget* parent, const QString& name, int x,
                  const std::optional<QColor>& colour = std::nullopt)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    label->move(x, 6);
    if (colour) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, *colour);
        label->setPalette(p);
    }
    return label;
}

} // namespace

TStringAlignGrid* MakeStatisticsGrid(QWidget* parent, const QString& name, int cols, int rows)
{
    auto* grid = new TStringAlignGrid(parent);
    grid->setObjectName(name);
    grid->setDefaultColWidth(80);
    grid->setDefaultRowHeight(16);
    grid->setColCount(cols);
    grid->setRowCount(rows);
    return grid;
}

TStringAlignGrid* MakeDisplayGrid(QWidget* parent, const QString& name, int cols, int rows)
{
    TStringAlignGrid* grid = MakeStatisticsGrid(parent, name, cols, rows);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->clearSelection();
    return grid;
}

ColourLegend::ColourLegend(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(24);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    MakeLabel(QStringLiteral("颜色标示说明："), this, QStringLiteral("Panel2Caption"), 1);
    MakeLabel(QStringLiteral("有不及格项"), this, QStringLiteral("Label4"), 84,
              palette().color(QPalette::Link));
    MakeLabel(QStringLiteral("符合评优标准"), this, QStringLiteral("Label5"), 150,
              ResultsTable::HonoursColor());
    QLabel* progress = MakeLabel(QStringLiteral("进步较大"), this, QStringLiteral("Label6"), 227, Qt::black);
    MakeLabel(QStringLiteral(" 一般"), this, QStringLiteral("Label7"), 281, Qt::black);

    QPalette p = progress->palette();
    p.setColor(QPalette::Window, ResultsTable::ProgressColor());
    progress->setPalette(p);
    progress->setAutoFillBackground(true);
}

ComparisonBox::ComparisonBox(QWidget* parent) : QGroupBox(QStringLiteral("成绩最优/最差对比"), parent)
{
    setObjectName(QStringLiteral("GroupBox2"));
    setFixedHeight(105);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_grid = MakeDisplayGrid(this, QStringLiteral("GridB"), 3, 3);
    layout->addWidget(m_grid);
    hide();
}
