#include "print/TableGrid.h"

#include "print/PrintDocument.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <numeric>

namespace {

// The space around a cell's text, in parts of the type size.
constexpr qreal kPadX = 0.35;
constexpr qreal kPadY = 0.2;
// The header row's shade: light enough for any printer.
const QColor kHeaderShade(228, 228, 228);
// A CJK character is the widest a name has.
constexpr char16_t kWideCharacter = 0x56FD;

struct Measure {
    QVector<qreal> titles; // each column's widest title line
    QVector<qreal> cells;  // each column's widest cell line
};

qreal Sum(const QVector<qreal>& values)
{
    return std::accumulate(values.cbegin(), values.cend(), qreal(0));
}

} // namespace

TableGrid::TableGrid(const QVector<PrintColumn>& columns, const QVector<const PrintRow*>& rows,
                     QPaintDevice* device, qreal width, Sizes sizes)
    : m_columns(columns), m_rows(rows), m_device(device)
{
    fit(width, sizes);
}

qreal TableGrid::width() const
{
    return Sum(m_widths);
}

void TableGrid::setPoints(qreal points)
{
    m_points = points;
    m_font = Print::Font(points);
    m_bold = Print::Font(points, true);
    const qreal pixelsPerPoint = m_device->logicalDpiY() / 72.0;
    m_padX = kPadX * points * pixelsPerPoint;
    m_padY = kPadY * points * pixelsPerPoint;
}

QVector<qreal> TableGrid::naturalWidths() const
{
    QVector<qreal> widths(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c)
        widths[c] = TextBlock::naturalWidth(m_columns.at(c).title, m_bold, m_device);
    for (const PrintRow* row : m_rows)
        for (int c = 0; c < m_columns.size() && c < row->cells.size(); ++c)
            widths[c] = qMax(widths[c], TextBlock::naturalWidth(row->cells.at(c), m_font, m_device));
    for (qreal& w : widths)
        w += 2 * m_padX;
    return widths;
}

void TableGrid::fit(qreal width, Sizes sizes)
{
    setPoints(sizes.points);
    QVector<qreal> natural = naturalWidths();
    qreal need = Sum(natural);
    if (need > width) {
        // Every width, padding included, grows with the type size.
        qreal points = qMax(sizes.leastPoints, sizes.points * width / need);
        for (;;) {
            setPoints(points);
            natural = naturalWidths();
            need = Sum(natural);
            if (need <= width || points <= sizes.leastPoints)
                break;
            points = qMax(sizes.leastPoints, points - 0.25);
        }
    }
    if (need <= width) {
        m_widths = natural;
        return;
    }
    breakTexts(width, m_points);
}

void TableGrid::breakTexts(qreal width, qreal points)
{
    for (int attempt = 0;; ++attempt) {
        setPoints(points);
        const qreal em = QFontMetricsF(m_font, m_device).horizontalAdvance(QChar(kWideCharacter));
        QVector<qreal> cells(m_columns.size(), 0);
        for (const PrintRow* row : m_rows)
            for (int c = 0; c < m_columns.size() && c < row->cells.size(); ++c)
                cells[c] = qMax(cells[c], TextBlock::naturalWidth(row->cells.at(c), m_font, m_device));
        const QVector<qreal> natural = naturalWidths();

        // The least width of each column, tier by tier: names two characters
        // a line, then one; then figures broken as well.
        auto least = [&](qreal textChars, bool breakFigures) {
            QVector<qreal> widths(m_columns.size());
            for (int c = 0; c < m_columns.size(); ++c) {
                const qreal content = natural.at(c) - 2 * m_padX;
                const qreal floor = m_columns.at(c).figures && !breakFigures ? qMax(cells.at(c), em)
                                                                             : qMin(content, textChars * em);
                widths[c] = qMin(content, qMax(floor, em)) + 2 * m_padX;
            }
            return widths;
        };
        for (const QVector<qreal>& floors : {least(2, false), least(1, false), least(1, true)}) {
            const qreal sumFloors = Sum(floors);
            if (sumFloors > width)
                continue;
            // What is left goes to the columns by how much they lack.
            const qreal slack = Sum(natural) - sumFloors;
            m_widths = floors;
            if (slack > 0)
                for (int c = 0; c < m_widths.size(); ++c)
                    m_widths[c] += (natural.at(c) - floors.at(c)) * (width - sumFloors) / slack;
            return;
        }
        // Not even one character a line: smaller type, the last resort.
        const qreal sumFloors = Sum(least(1, true));
        points = qMin(points * 0.95, points * width / sumFloors);
        if (attempt > 40) {
            m_widths = least(1, true);
            return;
        }
    }
}

TableGrid::Row TableGrid::lay(const QStringList& cells, bool header) const
{
    Row row;
    row.header = header;
    const QFont& font = header ? m_bold : m_font;
    qreal tallest = QFontMetricsF(font, m_device).height();
    row.cells.reserve(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c) {
        const Qt::Alignment alignment = header ? Qt::AlignHCenter : m_columns.at(c).alignment;
        // The layout may measure a line a hair wider than the metrics did; a
        // little of the padding takes it, so a text that fits is never broken.
        row.cells.append(
            TextBlock(cells.value(c), font, m_device, m_widths.at(c) - 2 * m_padX + slack(), alignment));
        tallest = qMax(tallest, row.cells.constLast().height());
    }
    row.height = tallest + 2 * m_padY;
    return row;
}

TableGrid::Row TableGrid::header() const
{
    QStringList titles;
    for (const PrintColumn& column : m_columns)
        titles << column.title;
    return lay(titles, true);
}

TableGrid::Row TableGrid::lay(const PrintRow& source) const
{
    Row row = lay(source.cells, false);
    row.text = source.text;
    row.background = source.background;
    return row;
}

qreal TableGrid::cut(const Row& row, qreal limit) const
{
    if (limit >= row.height)
        return row.height;
    if (limit <= m_padY)
        return 0;
    qreal at = limit;
    for (const TextBlock& block : row.cells)
        at = qMin(at, m_padY + block.cutAtOrBefore(limit - m_padY));
    return at;
}

void TableGrid::paint(QPainter& painter, const Row& row, const QPointF& origin, qreal from, qreal to) const
{
    const qreal height = to - from;
    const qreal blockFrom = qMax<qreal>(0, from - m_padY);
    const qreal textTop = origin.y() + m_padY + blockFrom - from;
    const QPen border(Qt::black, 0.5 * m_device->logicalDpiY() / 72.0);
    painter.setFont(row.header ? m_bold : m_font);
    qreal x = origin.x();
    for (int c = 0; c < m_columns.size(); ++c) {
        const QRectF cell(x, origin.y(), m_widths.at(c), height);
        if (row.header)
            painter.fillRect(cell, kHeaderShade);
        else if (row.background.isValid())
            painter.fillRect(cell, row.background);
        painter.setPen(row.text);
        row.cells.at(c).paint(painter, QPointF(x + m_padX - slack() / 2, textTop), blockFrom, to - m_padY);
        painter.setPen(border);
        painter.drawRect(cell);
        x += m_widths.at(c);
    }
}
