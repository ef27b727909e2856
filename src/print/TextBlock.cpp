#include "print/TextBlock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLine>
#include <QTextOption>

QString TextBlock::withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

qreal TextBlock::naturalWidth(const QString& text, const QFont& font, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    qreal widest = 0;
    for (const QString& line : withLineSeparators(text).split(QChar::LineSeparator))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

TextBlock::TextBlock(const QString& text, const QFont& font, QPaintDevice* device, qreal width,
                     Qt::Alignment alignment)
    : m_layout(std::make_shared<QTextLayout>(withLineSeparators(text), font, device)), m_width(width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(alignment & Qt::AlignHorizontal_Mask);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    const QFontMetricsF metrics(font, device);
    const qreal leading = qMax<qreal>(metrics.leading(), 0);
    qreal y = 0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        // The option's alignment places each line within this width.
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height() + leading;
    }
    m_layout->endLayout();
    m_height = y;
}

qreal TextBlock::cutAtOrBefore(qreal limit) const
{
    if (!m_layout || limit >= m_height)
        return limit;
    for (int i = 0; i < m_layout->lineCount(); ++i) {
        const QTextLine line = m_layout->lineAt(i);
        if (line.y() + line.height() > limit)
            return qMin(limit, line.y());
    }
    return limit;
}

void TextBlock::paint(QPainter& painter, const QPointF& origin, qreal from, qreal to) const
{
    if (!m_layout)
        return;
    for (int i = 0; i < m_layout->lineCount(); ++i) {
        const QTextLine line = m_layout->lineAt(i);
        if (line.y() < from - 0.01 || line.y() + line.height() > to + 0.01)
            continue;
        line.draw(&painter, QPointF(origin.x(), origin.y() - from));
    }
}
