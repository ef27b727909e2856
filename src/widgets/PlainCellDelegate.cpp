#include "widgets/PlainCellDelegate.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>

namespace {

// The view has filled its whole area with this already.
bool isViewBackground(const QColor& color, const QWidget* widget)
{
    const auto* view = qobject_cast<const QAbstractScrollArea*>(widget);
    const QWidget* area = view ? view->viewport() : nullptr;
    return area && area->autoFillBackground() && color == area->palette().color(area->backgroundRole());
}

} // namespace

bool PlainCellDelegate::cellOf(const QModelIndex& index, Cell& cell) const
{
    cell.text = index.data(Qt::DisplayRole).toString();
    cell.textColor = index.data(Qt::ForegroundRole).value<QColor>();
    cell.background = index.data(Qt::BackgroundRole).value<QColor>();
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    if (alignment.isValid())
        cell.alignment = Qt::Alignment(alignment.toInt());
    return true;
}

void PlainCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    Cell cell;
    if ((option.state & QStyle::State_HasFocus) || !cellOf(index, cell) ||
        cell.text.contains(QLatin1Char('\n'))) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText* laidOut = cell.text.isEmpty() ? nullptr : &staticText(cell.text, option.font);
    if (laidOut && laidOut->size().width() > textRect.width()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    else if (cell.background.isValid() && !isViewBackground(cell.background, widget))
        painter->fillRect(option.rect, cell.background);
    if (!laidOut)
        return;
    // Placed as the style places its text layout: lined up vertically as a
    // whole line, and horizontally within the line at a fractional position.
    const qreal width = laidOut->size().width();
    const int lineTop = textRect.top() + (textRect.height() - option.fontMetrics.height()) / 2;
    const Qt::Alignment horizontal = QStyle::visualAlignment(option.direction, cell.alignment);
    qreal x = textRect.x();
    if (horizontal & Qt::AlignRight)
        x += textRect.width() - width;
    else if (horizontal & Qt::AlignHCenter)
        x += (textRect.width() - width) / 2;
    painter->save();
    painter->setPen(selected                   ? option.palette.color(group, QPalette::HighlightedText)
                    : cell.textColor.isValid() ? cell.textColor
                                               : option.palette.color(group, QPalette::Text));
    painter->setFont(option.font);
    // The text is no wider than its room (see above); a line that also lies
    // within the cell's height needs no clip. A clip costs more than the
    // text: the raster engine builds a span table of the whole window for
    // every clip set before it draws a glyph through it.
    if (lineTop < textRect.top() || lineTop + option.fontMetrics.height() > textRect.bottom() + 1)
        painter->setClipRect(textRect, Qt::IntersectClip);
    painter->drawStaticText(QPointF(x, lineTop), *laidOut);
    painter->restore();
}

const QStaticText& PlainCellDelegate::staticText(const QString& text, const QFont& font) const
{
    if (font != m_font || m_texts.size() > 4096) {
        m_texts.clear();
        m_font = font;
    }
    auto found = m_texts.find(text);
    if (found == m_texts.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font);
        found = m_texts.insert(text, laidOut);
    }
    return found.value();
}
