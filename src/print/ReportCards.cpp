#include "print/ReportCards.h"

#include "print/TableGrid.h"
#include "print/TextBlock.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr qreal kTitlePoints = 14;
constexpr qreal kTextPoints = 10;

// One slip laid out in a width; every card of a set shares the columns.
class Slip {
public:
    Slip(const ReportCardSet& set, QPaintDevice* device, qreal width, int remarkLines)
        : m_device(device), m_width(width), m_remarkLines(remarkLines)
    {
        const qreal pixelsPerPoint = device->logicalDpiY() / 72.0;
        m_gap = 5 * pixelsPerPoint;
        m_ruling = 20 * pixelsPerPoint;
        m_text = Print::Font(kTextPoints);
        m_title = TextBlock(Print::Title({set.school, QStringLiteral("成绩通知单")}),
                            Print::Font(kTitlePoints, true), device, width, Qt::AlignHCenter);

        m_columns.append({QStringLiteral("科目"), Qt::AlignLeft, false});
        for (const QString& subject : set.subjects)
            m_columns.append({subject, Qt::AlignRight, true});
        m_columns.append({QStringLiteral("总分"), Qt::AlignRight, true});
        if (set.showPlaces)
            m_columns.append({QStringLiteral("名次"), Qt::AlignRight, true});

        m_averages.cells << QStringLiteral("班级平均分") << set.averages << set.totalAverage;
        for (const ReportCard& card : set.cards) {
            PrintRow row;
            row.cells << QStringLiteral("成绩") << card.scores << card.total;
            if (set.showPlaces)
                row.cells << card.place;
            m_scores.append(row);
        }
        QVector<const PrintRow*> rows{&m_averages};
        for (const PrintRow& row : m_scores)
            rows.append(&row);
        m_grid = std::make_unique<TableGrid>(m_columns, rows, device, width);
        m_header = m_grid->header();
        m_averageRow = m_grid->lay(m_averages);
        m_lineHeight = QFontMetricsF(m_text, device).height();
    }

    // The height of the slip of card i.
    qreal height(const ReportCardSet& set, int i) const
    {
        return m_title.height() + m_gap + info(set, i).height() + m_gap + m_header.height +
               m_grid->lay(m_scores.at(i)).height + m_averageRow.height + m_gap + m_lineHeight +
               m_remarkLines * m_ruling + m_gap + m_lineHeight + m_gap;
    }

    void paint(QPainter& painter, const ReportCardSet& set, int i, const QPointF& origin) const
    {
        const qreal lineWidth = 0.5 * m_device->logicalDpiY() / 72.0;
        qreal y = origin.y();
        painter.setPen(Qt::black);
        m_title.paint(painter, QPointF(origin.x(), y));
        y += m_title.height() + m_gap;
        const TextBlock who = info(set, i);
        who.paint(painter, QPointF(origin.x(), y));
        y += who.height() + m_gap;

        const qreal left = origin.x() + (m_width - m_grid->width()) / 2;
        m_grid->paint(painter, m_header, QPointF(left, y));
        y += m_header.height;
        const TableGrid::Row scores = m_grid->lay(m_scores.at(i));
        m_grid->paint(painter, scores, QPointF(left, y));
        y += scores.height;
        m_grid->paint(painter, m_averageRow, QPointF(left, y));
        y += m_averageRow.height + m_gap;

        painter.setFont(m_text);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(origin.x(), y, m_width, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("班主任评语："));
        y += m_lineHeight;
        painter.setPen(QPen(Qt::black, lineWidth));
        for (int line = 1; line <= m_remarkLines; ++line)
            painter.drawLine(QPointF(origin.x(), y + line * m_ruling),
                             QPointF(origin.x() + m_width, y + line * m_ruling));
        y += m_remarkLines * m_ruling + m_gap;

        // "家长签名：" and "日期：" each before a line to write on.
        const QFontMetricsF metrics(m_text, m_device);
        const QString sign = QStringLiteral("家长签名：");
        const QString date = QStringLiteral("日期：");
        const qreal baseline = y + m_lineHeight;
        const qreal half = m_width / 2;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(origin.x(), y, m_width, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         sign);
        painter.drawText(QRectF(origin.x() + half, y, half, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         date);
        painter.setPen(QPen(Qt::black, lineWidth));
        painter.drawLine(QPointF(origin.x() + metrics.horizontalAdvance(sign), baseline),
                         QPointF(origin.x() + half - m_gap * 2, baseline));
        painter.drawLine(QPointF(origin.x() + half + metrics.horizontalAdvance(date), baseline),
                         QPointF(origin.x() + m_width, baseline));
    }

private:
    TextBlock info(const ReportCardSet& set, int i) const
    {
        const ReportCard& card = set.cards.at(i);
        const QString space = QStringLiteral("　　");
        const QString text = set.term + space + QStringLiteral("班级：") + set.className + space +
                             QStringLiteral("姓名：") + card.name + space + QStringLiteral("学号：") +
                             card.number;
        return TextBlock(text, m_text, m_device, m_width, Qt::AlignLeft);
    }

    QPaintDevice* m_device;
    qreal m_width;
    int m_remarkLines;
    qreal m_gap = 0;
    qreal m_ruling = 0;
    qreal m_lineHeight = 0;
    QFont m_text;
    TextBlock m_title;
    QVector<PrintColumn> m_columns;
    PrintRow m_averages;
    QVector<PrintRow> m_scores;
    std::unique_ptr<TableGrid> m_grid;
    TableGrid::Row m_header;
    TableGrid::Row m_averageRow;
};

} // namespace

ReportCardDocument::ReportCardDocument(ReportCardSet cards, Layout layout)
    : m_cards(std::move(cards)), m_layout(layout)
{
}

QString ReportCardDocument::title() const
{
    return Print::Title({m_cards.school, m_cards.term, m_cards.className, QStringLiteral("成绩通知单")});
}

int ReportCardDocument::paint(QPainter& painter, QPagedPaintDevice& device) const
{
    QPaintDevice* dev = painter.device();
    const qreal pageWidth = dev->width();
    const qreal pageHeight = dev->height();
    const qreal pixelsPerPoint = Print::PixelsPerPoint(painter);
    const bool three = m_layout == Layout::ThreePerPage;
    const Slip slip(m_cards, dev, pageWidth, three ? 3 : 10);

    // Three to a page when the tallest slip fits a third; fewer when many
    // subjects make it taller; one slip taller than the page is scaled down.
    const qreal cutGap = three ? 8 * pixelsPerPoint : 0;
    qreal tallest = 0;
    for (int i = 0; i < m_cards.cards.size(); ++i)
        tallest = qMax(tallest, slip.height(m_cards, i));
    int perPage = 1;
    if (three)
        perPage = qBound(1, int(pageHeight / (tallest + cutGap)), 3);
    const qreal slot = pageHeight / perPage;
    const qreal scale = tallest > pageHeight ? pageHeight / tallest : 1.0;

    const int count = m_cards.cards.size();
    const int pages = qMax(1, (count + perPage - 1) / perPage);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        for (int k = 0; k < perPage; ++k) {
            const int i = page * perPage + k;
            if (i >= count)
                break;
            const qreal top = k * slot + (k > 0 ? cutGap : 0);
            if (k > 0) {
                // The cut line between two slips.
                QPen dashed(Qt::black, 0.5 * pixelsPerPoint, Qt::DashLine);
                painter.setPen(dashed);
                painter.drawLine(QPointF(0, k * slot), QPointF(pageWidth, k * slot));
            }
            painter.save();
            painter.translate(0, top);
            painter.scale(scale, scale);
            slip.paint(painter, m_cards, i, QPointF(0, 0));
            painter.restore();
        }
    }
    return pages;
}
