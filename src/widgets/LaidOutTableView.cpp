#include "widgets/LaidOutTableView.h"

#include <QEvent>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>

LaidOutTableView::LaidOutTableView(QWidget* parent) : QTableView(parent)
{
    // Qt's own lines are switched off (drawn with no pen they cost
    // nothing); paintEvent() draws them, solid, while showGrid() is set.
    setGridStyle(Qt::NoPen);
}

bool LaidOutTableView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::UpdateRequest)
        executeDelayedItemsLayout();
    return QTableView::eventFilter(watched, event);
}

bool LaidOutTableView::event(QEvent* event)
{
    // The window changes when the view is shown in another one (an MDI child
    // is made, a dialog is reparented), so it is looked up again then.
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        watchWindow();
    return QTableView::event(event);
}

void LaidOutTableView::watchWindow()
{
    QWidget* top = window();
    if (top == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = top;
    if (m_window != this)
        m_window->installEventFilter(this);
}

void LaidOutTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (!showGrid() || !model() || model()->rowCount(rootIndex()) == 0 ||
        model()->columnCount(rootIndex()) == 0)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor color =
        QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    QPainter painter(viewport());
    // The cells leave their last row and column of pixels to the grid, so
    // the lines may come after them.
    for (const QRect& area : event->region())
        paintGrid(painter, area, color);
}

// The lines Qt draws over one rectangle of the paint region: under every
// row and right of every column (left of it from right to left) that the
// rectangle meets, within the rectangle and the table's extent.
void LaidOutTableView::paintGrid(QPainter& painter, QRect area, const QColor& color) const
{
    const QHeaderView* rows = verticalHeader();
    const QHeaderView* columns = horizontalHeader();
    const bool rightToLeft = isRightToLeft();
    area.setBottom(qMin(area.bottom(), rows->length() - rows->offset() - 1));
    const int extent = columns->length() - columns->offset();
    if (rightToLeft)
        area.setLeft(qMax(area.left(), viewport()->width() - extent));
    else
        area.setRight(qMin(area.right(), extent - 1));
    if (!area.isValid())
        return;

    int left = columns->visualIndexAt(area.left());
    int right = columns->visualIndexAt(area.right());
    if (rightToLeft)
        std::swap(left, right);
    if (left == -1)
        left = 0;
    if (right == -1)
        right = columns->count() - 1;
    const int top = rows->visualIndexAt(area.top());
    int bottom = rows->visualIndexAt(area.bottom());
    if (bottom == -1)
        bottom = rows->count() - 1;
    if (top == -1 || top > bottom)
        return;

    for (int visual = top; visual <= bottom; ++visual) {
        const int row = rows->logicalIndex(visual);
        if (!rows->isSectionHidden(row))
            painter.fillRect(area.left(), rowViewportPosition(row) + rowHeight(row) - 1, area.width(), 1,
                             color);
    }
    for (int visual = left; visual <= right; ++visual) {
        const int column = columns->logicalIndex(visual);
        if (columns->isSectionHidden(column))
            continue;
        const int x = columnViewportPosition(column) + (rightToLeft ? 0 : columnWidth(column) - 1);
        painter.fillRect(x, area.top(), 1, area.height(), color);
    }
}
