#include "widgets/BandChart.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QValueAxis>
#include <algorithm>

namespace {

// The light theme without animations, and the program's font (which shows
// Chinese) on title and axes: a theme resets the label fonts, so this comes
// after the theme.
void applyLook(QChart* chart)
{
    chart->setTheme(QChart::ChartThemeLight);
    chart->setAnimationOptions(QChart::NoAnimation);
    const QFont font = QApplication::font();
    QFont title = font;
    title.setBold(true);
    chart->setTitleFont(title);
    chart->legend()->setFont(font);
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
    }
}

} // namespace

TBandChart::TBandChart(QWidget* parent) : QChartView(parent)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    auto* series = new QBarSeries(chart);
    m_set = new QBarSet(QStringLiteral("人数"));
    series->append(m_set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart->addSeries(series);
    m_categories = new QBarCategoryAxis(chart);
    m_values = new QValueAxis(chart);
    m_values->setLabelFormat(QStringLiteral("%d"));
    m_values->setTickType(QValueAxis::TicksDynamic);
    m_values->setTickAnchor(0);
    chart->addAxis(m_categories, Qt::AlignBottom);
    chart->addAxis(m_values, Qt::AlignLeft);
    series->attachAxis(m_categories);
    series->attachAxis(m_values);
    applyLook(chart);
    m_set->setLabelColor(Qt::black);
    m_set->setLabelFont(font());
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    clearBands();
}

void TBandChart::setBands(const QString& title, const QStringList& labels, const QVector<int>& counts,
                          const QStringList& shares)
{
    QStringList categories;
    for (int i = 0; i < labels.size(); ++i)
        categories << labels.at(i) + QLatin1Char('\n') + shares.value(i);
    // The values are replaced in place; the bars are added or taken away
    // only when the number of bands changes.
    if (m_set->count() > counts.size())
        m_set->remove(int(counts.size()), m_set->count() - int(counts.size()));
    for (int i = 0; i < counts.size(); ++i) {
        if (i < m_set->count())
            m_set->replace(i, counts.at(i));
        else
            m_set->append(counts.at(i));
    }
    if (m_categories->categories() != categories)
        m_categories->setCategories(categories);
    // Whole numbers on the value axis, about five steps, room above the highest bar for its label.
    const int highest = counts.isEmpty() ? 0 : *std::max_element(counts.begin(), counts.end());
    const int step = std::max(1, (highest + 4) / 5);
    m_values->setTickInterval(step);
    m_values->setRange(0, (highest / step + 1) * step);
    chart()->setTitle(title);
}

void TBandChart::clearBands()
{
    setBands(QString(), {}, {}, {});
}
