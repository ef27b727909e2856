#include "widgets/FollowingGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

TFollowingGrid::TFollowingGrid(TStringAlignGrid* leader, QWidget* parent)
    : TStringAlignGrid(parent), m_leader(leader)
{
    setDefaultColWidth(leader->defaultColWidth());
    setDefaultRowHeight(leader->defaultRowHeight());
    setRowHeight(0, -1); // no header row of its own: the leader's stands above
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(leader->horizontalScrollMode());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setDataRows(0);

    connect(leader->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int width) { followWidth(col, width); });
    connect(leader->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    // The leader's viewport narrows by its vertical scroll bar: this one
    // narrows with it, or the two would scroll apart at the right end.
    leader->verticalScrollBar()->installEventFilter(this);
    leader->installEventFilter(this);
}

void TFollowingGrid::followColumns()
{
    if (!m_leader)
        return;
    const Batch batch(this);
    setColCount(m_leader->colCount());
    for (int c = 0; c < colCount(); ++c)
        setColWidth(c, m_leader->colWidth(c)); // as dragged, or hidden
    followViewport();
    horizontalScrollBar()->setValue(m_leader->horizontalScrollBar()->value());
}

void TFollowingGrid::setDataRows(int rows)
{
    setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r)
        setRowHeight(r, defaultRowHeight());
    setFixedHeight(rows * defaultRowHeight() + 2 * frameWidth());
}

bool TFollowingGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (m_leader && (watched == m_leader || watched == m_leader->verticalScrollBar())) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Hide || type == QEvent::Resize)
            followViewport();
    }
    return TStringAlignGrid::eventFilter(watched, event);
}

void TFollowingGrid::followWidth(int col, int width)
{
    if (col < 0 || col >= colCount() || colWidth(col) < 0)
        return;
    horizontalHeader()->resizeSection(col, width);
}

void TFollowingGrid::followViewport()
{
    if (!m_leader)
        return;
    const QScrollBar* bar = m_leader->verticalScrollBar();
    setViewportMargins(0, 0, bar->isVisible() ? bar->width() : 0, 0);
    horizontalScrollBar()->setValue(m_leader->horizontalScrollBar()->value());
}
