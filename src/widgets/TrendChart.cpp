#include "widgets/TrendChart.h"

#include "widgets/ChartLook.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace {

QLineSeries* makeSeries(const QString& name, QChart* chart)
{
    auto* series = new QLineSeries(chart);
    series->setName(name);
    series->setPointsVisible(true);
    series->setPointLabelsVisible(true);
    series->setPointLabelsClipping(false);
    chart->addSeries(series);
    return series;
}

} // namespace

TTrendChart::TTrendChart(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    m_totals = makeSeries(QStringLiteral("总分"), chart);
    m_totals->setPointLabelsFormat(QStringLiteral("@yPoint"));
    m_places = makeSeries(QStringLiteral("名次"), chart);
    m_places->setPointLabelsFormat(QStringLiteral("@yPoint"));
    m_terms = new QBarCategoryAxis(chart);
    m_totalAxis = new QValueAxis(chart);
    m_totalAxis->setTitleText(QStringLiteral("总分"));
    m_totalAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_placeAxis = new QValueAxis(chart);
    m_placeAxis->setTitleText(QStringLiteral("名次"));
    m_placeAxis->setLabelFormat(QStringLiteral("%d"));
    m_placeAxis->setReverse(true); // the first place on top
    chart->addAxis(m_terms, Qt::AlignBottom);
    chart->addAxis(m_totalAxis, Qt::AlignLeft);
    chart->addAxis(m_placeAxis, Qt::AlignRight);
    m_totals->attachAxis(m_terms);
    m_totals->attachAxis(m_totalAxis);
    m_places->attachAxis(m_terms);
    m_places->attachAxis(m_placeAxis);
    chart->legend()->setAlignment(Qt::AlignTop);
    ApplyChartLook(chart);
    // The labels of the points take the lines' colours, which the theme has just set.
    m_totals->setPointLabelsColor(m_totals->color());
    m_places->setPointLabelsColor(m_places->color());
    m_totals->setPointLabelsFont(font());
    m_places->setPointLabelsFont(font());
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setCourse({}, {}, {}, 0);
}

void TTrendChart::setCourse(const QStringList& terms, const QVector<double>& totals,
                            const QVector<int>& places, int ranked)
{
    QList<QPointF> totalPoints;
    QList<QPointF> placePoints;
    for (int i = 0; i < terms.size(); ++i) {
        totalPoints.append(QPointF(i, totals.value(i)));
        placePoints.append(QPointF(i, places.value(i)));
    }
    m_totals->replace(totalPoints);
    m_places->replace(placePoints);
    m_terms->setCategories(terms);
    // Term names are long: beyond a few terms they stand slanted, or they would be cut.
    m_terms->setLabelsAngle(terms.size() > 3 ? -45 : 0);
    const double highest = totals.isEmpty() ? 0 : *std::max_element(totals.begin(), totals.end());
    m_totalAxis->setRange(0, std::max(10.0, highest * 1.1));
    m_totalAxis->applyNiceNumbers();
    // Whole places from the first, about five steps.
    const int last = std::max(2, ranked);
    m_placeAxis->setRange(1, last);
    m_placeAxis->setTickType(QValueAxis::TicksDynamic);
    m_placeAxis->setTickAnchor(1);
    m_placeAxis->setTickInterval(std::max(1, (last - 1 + 4) / 5));
}
