#pragma once

#include <QChartView>
#include <QStringList>
#include <QVector>

class QBarCategoryAxis;
class QBarSet;
class QValueAxis;

// A bar chart of counts over a few categories, each bar labelled with its
// count and each category with its label and share. One chart for the
// widget's life: new figures replace the values of its one bar set.
class TBandChart : public QChartView {
    Q_OBJECT
public:
    explicit TBandChart(QWidget* parent = nullptr);

    // labels, counts and shares have one entry per band.
    void setBands(const QString& title, const QStringList& labels, const QVector<int>& counts,
                  const QStringList& shares);
    void clearBands();

    // What the chart shows, for tests.
    QBarSet* barSet() const { return m_set; }
    QBarCategoryAxis* categoryAxis() const { return m_categories; }

private:
    QBarSet* m_set = nullptr;
    QBarCategoryAxis* m_categories = nullptr;
    QValueAxis* m_values = nullptr;
};
