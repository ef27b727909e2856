#include "print/TableDocument.h"

#include "print/TableGrid.h"
#include "print/TextBlock.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <vector>

namespace {

constexpr qreal kTitlePoints = 15;
constexpr qreal kSmallPoints = 9;

// A piece of a row placed on a page: the part [from, to) of the row at y.
struct Piece {
    const TableGrid::Row* row = nullptr;
    qreal from = 0;
    qreal to = 0;
    qreal y = 0;
    bool ruleAbove = false; // the heavy rule that sets the summary off
};

struct Page {
    QVector<Piece> pieces;
    int rows = 0;       // pieces of rows other than the header
    qreal legendY = -1; // where the legend stands, if on this page
};

// The legend as boxes in a flow: each sign on its mark's colours, then its
// words; lines break between entries.
struct LegendItem {
    QRectF box;
    QString text;
    QColor pen;
    QColor fill;
    bool framed = false;
};

class Legend {
public:
    Legend(const PrintTable& table, QPaintDevice* device, qreal width)
    {
        if (table.legend.isEmpty())
            return;
        m_font = Print::Font(kSmallPoints);
        const QFontMetricsF metrics(m_font, device);
        const qreal pad = metrics.horizontalAdvance(QLatin1Char(' '));
        const qreal line = metrics.height() + pad;
        qreal x = 0;
        qreal y = 0;
        auto place = [&](qreal itemWidth) {
            if (x > 0 && x + itemWidth > width) {
                x = 0;
                y += line;
            }
            const QRectF box(x, y, itemWidth, metrics.height());
            x += itemWidth;
            return box;
        };
        if (!table.legendCaption.isEmpty()) {
            const qreal w = metrics.horizontalAdvance(table.legendCaption);
            m_items.append({place(w), table.legendCaption, Qt::black, QColor(), false});
        }
        for (const LegendEntry& entry : table.legend) {
            const qreal signWidth =
                entry.sign.isEmpty() ? 0 : metrics.horizontalAdvance(entry.sign) + 2 * pad;
            const qreal textWidth = metrics.horizontalAdvance(entry.text) + pad;
            const qreal gap = 2 * pad;
            const QRectF whole = place(signWidth + textWidth + gap);
            if (signWidth > 0)
                m_items.append({QRectF(whole.x(), whole.y(), signWidth, whole.height()), entry.sign,
                                entry.textColour, entry.background, true});
            const QRectF words(whole.x() + signWidth + pad / 2, whole.y(), textWidth, whole.height());
            // The words in the mark's colours too, as on the screen.
            m_items.append(
                {words, entry.text, entry.textColour, signWidth > 0 ? QColor() : entry.background, false});
        }
        m_height = y + metrics.height();
    }

    qreal height() const { return m_height; }
    bool isEmpty() const { return m_items.isEmpty(); }

    void paint(QPainter& painter, const QPointF& origin, qreal lineWidth) const
    {
        painter.setFont(m_font);
        for (const LegendItem& item : m_items) {
            const QRectF box = item.box.translated(origin);
            if (item.fill.isValid())
                painter.fillRect(box, item.fill);
            if (item.framed) {
                painter.setPen(QPen(Qt::black, lineWidth));
                painter.drawRect(box);
            }
            painter.setPen(item.pen);
            painter.drawText(box, Qt::AlignCenter | Qt::TextDontClip, item.text);
        }
    }

private:
    QFont m_font;
    QVector<LegendItem> m_items;
    qreal m_height = 0;
};

} // namespace

TableDocument::TableDocument(PrintTable table, QPageLayout::Orientation orientation)
    : m_table(std::move(table)), m_orientation(orientation)
{
}

int TableDocument::paint(QPainter& painter, QPagedPaintDevice& device) const
{
    QPaintDevice* dev = painter.device();
    const qreal pixelsPerPoint = Print::PixelsPerPoint(painter);
    const qreal pageWidth = dev->width();
    const qreal pageHeight = dev->height();
    const qreal gap = 4 * pixelsPerPoint;

    const TextBlock title(m_table.title, Print::Font(kTitlePoints, true), dev, pageWidth, Qt::AlignHCenter);
    const QFont small = Print::Font(kSmallPoints);
    const TextBlock note(m_table.note, small, dev, pageWidth * 0.6, Qt::AlignLeft);
    const TextBlock date(m_table.date, small, dev, pageWidth * 0.4, Qt::AlignRight);
    const qreal infoTop = title.height() + gap / 2;
    const qreal bodyTop = infoTop + qMax(note.height(), date.height()) + gap;
    const qreal footHeight = QFontMetricsF(small, dev).height();
    const qreal bodyBottom = pageHeight - footHeight - gap;

    QVector<const PrintRow*> all;
    for (const PrintRow& row : m_table.rows)
        all.append(&row);
    for (const PrintRow& row : m_table.summary)
        all.append(&row);
    const TableGrid grid(m_table.columns, all, dev, pageWidth);
    const qreal left = (pageWidth - grid.width()) / 2;
    const TableGrid::Row header = grid.header();
    std::vector<TableGrid::Row> rows;
    rows.reserve(all.size());
    for (const PrintRow* row : all)
        rows.push_back(grid.lay(*row));
    const Legend legend(m_table, dev, pageWidth);

    // Where every piece goes.
    QVector<Page> pages;
    qreal y = 0;
    auto startPage = [&](bool withHeader) {
        pages.append(Page());
        y = bodyTop;
        if (withHeader) {
            pages.last().pieces.append({&header, 0, header.height, y, false});
            y += header.height;
        }
    };
    startPage(true);
    const int firstSummary = m_table.rows.size();
    for (int i = 0; i < int(rows.size()); ++i) {
        const TableGrid::Row& row = rows.at(i);
        bool rule = i == firstSummary;
        qreal from = 0;
        while (from < row.height) {
            const qreal room = bodyBottom - y;
            if (row.height - from <= room) {
                pages.last().pieces.append({&row, from, row.height, y, rule});
                ++pages.last().rows;
                y += row.height - from;
                break;
            }
            if (pages.last().rows > 0) {
                startPage(true);
                continue;
            }
            // Taller than a page by itself: as much as fits, cut between lines.
            qreal cut = grid.cut(row, from + room);
            if (cut <= from)
                cut = from + room; // a single line taller than the page; cannot happen at these sizes
            pages.last().pieces.append({&row, from, cut, y, rule});
            ++pages.last().rows;
            rule = false;
            from = cut;
            startPage(true);
        }
    }
    if (!legend.isEmpty()) {
        if (y + gap + legend.height() > bodyBottom)
            startPage(false);
        pages.last().legendY = y + gap;
    }

    const qreal lineWidth = 0.5 * pixelsPerPoint;
    const QString of = QStringLiteral("第 %1 页 共 %2 页");
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        const Page& page = pages.at(p);
        painter.setPen(Qt::black);
        title.paint(painter, QPointF(0, 0));
        note.paint(painter, QPointF(0, infoTop));
        date.paint(painter, QPointF(pageWidth * 0.6, infoTop));
        for (const Piece& piece : page.pieces) {
            grid.paint(painter, *piece.row, QPointF(left, piece.y), piece.from, piece.to);
            if (piece.ruleAbove) {
                painter.setPen(QPen(Qt::black, 3 * lineWidth));
                painter.drawLine(QPointF(left, piece.y), QPointF(left + grid.width(), piece.y));
            }
        }
        if (page.legendY >= 0)
            legend.paint(painter, QPointF(left, page.legendY), lineWidth);
        painter.setFont(small);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, pageHeight - footHeight, pageWidth, footHeight), Qt::AlignCenter,
                         of.arg(p + 1).arg(pages.size()));
    }
    return pages.size();
}
