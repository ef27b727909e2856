#pragma once

#include <QChartView>
#include <QStringList>
#include <QVector>

class QBarCategoryAxis;
class QLineSeries;
class QValueAxis;

// A line chart of one student's course over the terms: 总分 against the
// left axis and 名次 against the right one, whose first place is at the top.
class TTrendChart : public QChartView {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    // One entry per term, oldest first; ranked is the most places of any term.
    void setCourse(const QStringList& terms, const QVector<double>& totals, const QVector<int>& places,
                   int ranked);

    QLineSeries* totals() const { return m_totals; }
    QLineSeries* places() const { return m_places; }
    QBarCategoryAxis* termAxis() const { return m_terms; }

private:
    QLineSeries* m_totals = nullptr;
    QLineSeries* m_places = nullptr;
    QBarCategoryAxis* m_terms = nullptr;
    QValueAxis* m_totalAxis = nullptr;
    QValueAxis* m_placeAxis = nullptr;
};
