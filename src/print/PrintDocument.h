#pragma once

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

// Something the program prints: a table, a stack of report cards. The print
// commands set a printer or a PDF file up with its page layout and have it
// paint every page; the document lays itself out on that device, since type
// is measured in the device's own resolution.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;

    // The print job's name and the PDF's title.
    virtual QString title() const = 0;
    virtual QPageLayout pageLayout() const = 0;
    // Paints every page with painter, which is active on device; the first
    // page is the current one. Returns the number of pages painted.
    virtual int paint(QPainter& painter, QPagedPaintDevice& device) const = 0;
};

namespace Print {

// A4 with margins of 12 mm, in the given orientation.
QPageLayout A4(QPageLayout::Orientation orientation);

// The printing type, named explicitly: a PDF embeds it, so the file reads
// the same on a machine without Chinese fonts. "宋体" does not exist on
// Debian; AR PL UMing is its Ming-style counterpart.
QFont Font(qreal pointSize, bool bold = false);
inline const QString FontFamily = QStringLiteral("AR PL UMing CN");

// A title of words such as the school, the term, the class and what is
// printed, joined by blanks; empty words (no school name set) left out.
QString Title(const QStringList& words);
// "打印日期：2024年9月1日" for today.
QString DateLine();

// Device pixels per point on the device the painter paints on.
qreal PixelsPerPoint(const QPainter& painter);

} // namespace Print
