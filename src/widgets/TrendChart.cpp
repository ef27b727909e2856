#include "widgets/TrendChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// A step of 1, 2 or 5 times a power of ten that cuts 0..top into about five parts.
double niceStep(double top)
{
    const double rough = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (rough <= factor * power)
            return factor * power;
    return 10 * power;
}

} // namespace

TTrendChart::TTrendChart(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TTrendChart::setCourse(const QStringList& terms, const QVector<double>& totals,
                            const QVector<int>& places, int ranked)
{
    m_terms = terms;
    m_totals = totals;
    m_places = places;
    const double highest = totals.isEmpty() ? 0 : *std::max_element(totals.begin(), totals.end());
    m_totalStep = niceStep(std::max(10.0, highest));
    m_totalTop = std::ceil(std::max(10.0, highest) / m_totalStep) * m_totalStep;
    // Whole places from the first, about five steps.
    m_lastPlace = std::max(2, ranked);
    m_placeStep = std::max(1, (m_lastPlace - 1 + 4) / 5);
    update();
}

void TTrendChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int line = metrics.height();

    // The legend on top, the axes' numbers beside, the terms below.
    const int left = metrics.horizontalAdvance(QStringLiteral("00000")) + line + 8;
    const int right = metrics.horizontalAdvance(QStringLiteral("000")) + line + 8;
    const QRect plot = rect().adjusted(left, 2 * line + 8, -right, -(2 * line + 8));
    if (plot.width() < 20 || plot.height() < 20)
        return;

    const auto yTotal = [&](double v) { return plot.bottom() - v / m_totalTop * plot.height(); };
    const auto yPlace = [&](double place) {
        return plot.top() + (place - 1) / std::max(1, m_lastPlace - 1) * plot.height();
    };
    const int n = int(m_terms.size());
    const double slot = n > 0 ? double(plot.width()) / n : plot.width();
    const auto x = [&](int i) { return plot.left() + slot * (i + 0.5); };

    // Grid and the numbers of both axes.
    painter.setPen(QColor(224, 224, 224));
    for (double v = 0; v <= m_totalTop + 1e-9; v += m_totalStep)
        painter.drawLine(QPointF(plot.left(), yTotal(v)), QPointF(plot.right(), yTotal(v)));
    painter.setPen(Qt::darkGray);
    painter.drawRect(plot);
    painter.setPen(Qt::black);
    for (double v = 0; v <= m_totalTop + 1e-9; v += m_totalStep)
        painter.drawText(QRectF(0, yTotal(v) - line / 2.0, left - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v, 'f', 0));
    for (int place = 1; place <= m_lastPlace; place += m_placeStep)
        painter.drawText(QRectF(plot.right() + 4, yPlace(place) - line / 2.0, right, line),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(place));
    // The axes' names, upright beside their numbers.
    painter.save();
    painter.translate(line / 2.0 + 1, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2.0, -line / 2.0, plot.height(), line), Qt::AlignCenter,
                     QStringLiteral("总分"));
    painter.restore();
    painter.save();
    painter.translate(width() - line / 2.0 - 1, plot.center().y());
    painter.rotate(90);
    painter.drawText(QRectF(-plot.height() / 2.0, -line / 2.0, plot.height(), line), Qt::AlignCenter,
                     QStringLiteral("名次"));
    painter.restore();

    // The terms: as many as fit, each cut to its room.
    const int every =
        std::max(1, int(std::ceil(metrics.horizontalAdvance(QStringLiteral("0000-0000")) / slot)));
    for (int i = 0; i < n; i += every)
        painter.drawText(QRectF(x(i) - slot * every / 2, plot.bottom() + 4, slot * every, line),
                         Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(m_terms.at(i), Qt::ElideRight, int(slot * every) - 4));

    // The two lines with their points.
    const auto drawLine = [&](const QColor& colour, auto y, const auto& values) {
        QPainterPath path;
        for (int i = 0; i < n; ++i) {
            const QPointF point(x(i), y(values.value(i)));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        for (int i = 0; i < n; ++i)
            painter.drawEllipse(QPointF(x(i), y(values.value(i))), 3, 3);
    };
    drawLine(TotalColor(), yTotal, m_totals);
    drawLine(PlaceColor(), yPlace, m_places);

    // The legend.
    int lx = plot.center().x() - metrics.horizontalAdvance(QStringLiteral("总分    名次")) / 2 - line;
    for (const auto& [colour, name] :
         {std::pair{TotalColor(), QStringLiteral("总分")}, std::pair{PlaceColor(), QStringLiteral("名次")}}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(lx, line / 2.0 + 2, line * 0.7, line * 0.7));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(lx + line, line + 2), name);
        lx += line + metrics.horizontalAdvance(name) + 2 * line;
    }
}
