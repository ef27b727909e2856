#include "widgets/TextCellDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

void TextCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    if (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText& staticText = laidOut(text, option.font);
    const qreal width = staticText.size().width();
    if (width > textRect.width() || text.contains(QLatin1Char('\n'))) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Placed as the style places its text: the line centred vertically, the
    // text within it at a fractional position.
    const Qt::Alignment alignment =
        QStyle::visualAlignment(option.direction, Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) &
                                                      Qt::AlignHorizontal_Mask);
    qreal x = textRect.x();
    if (alignment & Qt::AlignRight)
        x += textRect.width() - width;
    else if (alignment & Qt::AlignHCenter)
        x += (textRect.width() - width) / 2;
    const int lineTop = textRect.top() + (textRect.height() - option.fontMetrics.height()) / 2;
    painter->save();
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->setClipRect(textRect, Qt::IntersectClip);
    painter->drawStaticText(QPointF(x, lineTop), staticText);
    painter->restore();
}

const QStaticText& TextCellDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (font != m_font || m_texts.size() > 8192) {
        m_texts.clear();
        m_font = font;
    }
    auto found = m_texts.find(text);
    if (found == m_texts.end()) {
        QStaticText staticText(text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.prepare(QTransform(), font);
        found = m_texts.insert(text, staticText);
    }
    return found.value();
}
