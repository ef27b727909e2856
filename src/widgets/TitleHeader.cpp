#include "widgets/TitleHeader.h"

#include <QPainter>
#include <QPolygonF>

namespace {
const QColor kSilver(192, 192, 192);
const QColor kLine(128, 128, 128);
} // namespace

TTitleHeader::TTitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
}

void TTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, kSilver);
    painter->setPen(kLine);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    painter->setPen(Qt::black);
    QRect textRect = rect.adjusted(2, 0, -2, 0);
    if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex) {
        // A small triangle at the right: up for ascending, down for descending.
        const qreal x = rect.right() - 8;
        const qreal y = rect.center().y();
        const bool up = sortIndicatorOrder() == Qt::AscendingOrder;
        const QPolygonF mark{QPointF(x - 3, up ? y + 2 : y - 2), QPointF(x + 3, up ? y + 2 : y - 2),
                             QPointF(x, up ? y - 2 : y + 2)};
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(kLine);
        painter->setPen(Qt::NoPen);
        painter->drawPolygon(mark);
        painter->setPen(Qt::black);
        textRect.adjust(0, 0, -10, 0);
    }
    const QStringList lines = title.split(QLatin1Char('\n'));
    const int lineHeight = fontMetrics().height();
    qreal y = textRect.center().y() - lines.size() * lineHeight / 2.0;
    painter->setClipRect(textRect, Qt::IntersectClip);
    for (const QString& line : lines) {
        const QStaticText& text = laidOut(line);
        painter->drawStaticText(QPointF(textRect.x() + (textRect.width() - text.size().width()) / 2, y),
                                text);
        y += lineHeight;
    }
    painter->restore();
}

const QStaticText& TTitleHeader::laidOut(const QString& line) const
{
    auto found = m_lines.find(line);
    if (found == m_lines.end()) {
        if (m_lines.size() > 1024)
            m_lines.clear();
        QStaticText text(line);
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font());
        found = m_lines.insert(line, text);
    }
    return found.value();
}
