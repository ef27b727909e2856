#include "print/PrintDocument.h"

#include <QDate>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>

namespace Print {

QPageLayout A4(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

QFont Font(qreal pointSize, bool bold)
{
    QFont font(FontFamily);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Outlines, never hinted to the screen's pixels: the same widths on
    // paper, in the preview and in the PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

QString Title(const QStringList& words)
{
    QStringList kept;
    for (const QString& word : words)
        if (!word.trimmed().isEmpty())
            kept << word.trimmed();
    return kept.join(QLatin1Char(' '));
}

QString DateLine()
{
    const QDate today = QDate::currentDate();
    return QStringLiteral("打印日期：%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day());
}

qreal PixelsPerPoint(const QPainter& painter)
{
    return painter.device()->logicalDpiY() / 72.0;
}

} // namespace Print
