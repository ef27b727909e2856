#include "print/PrintDocument.h"

#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>

namespace Print {

QPageLayout A4(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
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

qreal PixelsPerPoint(const QPainter& painter)
{
    return painter.device()->logicalDpiY() / 72.0;
}

} // namespace Print
