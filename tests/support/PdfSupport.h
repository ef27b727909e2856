#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Reading the PDFs the tests make with Debian's poppler-utils, as any other
// program would read them.
namespace Pdf {

// The number of pages (pdfinfo); -1 when the file is no PDF.
int PageCount(const QString& file);
// The text of one page (1-based), or of all pages when page is 0, in the
// order it was drawn (pdftotext -raw); pages end in a form feed.
QString Text(const QString& file, int page = 0);
// Text with every blank and line break taken out: a text broken over lines
// of a cell reads whole again.
QString Squeezed(const QString& text);
// The lines of pdffonts after its two header lines.
QStringList Fonts(const QString& file);

// Every word with its box in points (pdftotext -bbox).
struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};
struct PageWords {
    double width = 0;
    double height = 0;
    QList<Word> words;
};
QList<PageWords> Words(const QString& file);

// One page rendered at the given resolution (pdftoppm).
QImage Render(const QString& file, int page, int dpi = 50);
// Whether some pixel of the image is near the colour.
bool HasColour(const QImage& image, const QColor& colour, int tolerance = 40);

} // namespace Pdf
