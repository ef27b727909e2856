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

const QString& LegendCaption()
{
    static const QString caption = QStringLiteral("颜色标示说明：");
    return caption;
}

const QVector<LegendEntry>& LegendEntries()
{
    static const QVector<LegendEntry> entries{
        {QStringLiteral("有不及格项"), ResultsTable::FailColor(), {}},
        {QStringLiteral("符合评优标准"), ResultsTable::HonoursColor(), {}},
        {QStringLiteral("进步较大"), {}, ResultsTable::ProgressColor()},
        {QStringLiteral(" 一般"), {}, {}},
    };
    return entries;
}

ColourLegend::ColourLegend(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(24);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);

    MakeLabel(LegendCaption(), this, QStringLiteral("Panel2Caption"), 1);
    const QVector<LegendEntry>& entries = LegendEntries();
    // The failing mark's label takes the system's link colour, as it always did.
    MakeLabel(entries.at(0).text, this, QStringLiteral("Label4"), 84, palette().color(QPalette::Link));
    MakeLabel(entries.at(1).text, this, QStringLiteral("Label5"), 150, entries.at(1).textColour);
    QLabel* progress = MakeLabel(entries.at(2).text, this, QStringLiteral("Label6"), 227, Qt::black);
    MakeLabel(entries.at(3).text, this, QStringLiteral("Label7"), 281, Qt::black);

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
