#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

// A line chart of one student's course over the terms: 总分 against the
// left axis and 名次 against the right one, whose first place is at the top,
// with the terms along the bottom. Painted by the widget itself: the dialog
// that shows it opens once per student, and a chart library's layout of a
// few axes and twenty term names would cost more than the reading.
class TTrendChart : public QWidget {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    // One entry per term, oldest first; ranked is the most places of any term.
    void setCourse(const QStringList& terms, const QVector<double>& totals, const QVector<int>& places,
                   int ranked);

    const QStringList& terms() const { return m_terms; }
    const QVector<double>& totals() const { return m_totals; }
    const QVector<int>& places() const { return m_places; }
    // The axes' ranges: 总分 from 0 to totalTop(), 名次 from 1 to lastPlace().
    double totalTop() const { return m_totalTop; }
    int lastPlace() const { return m_lastPlace; }

    static QColor TotalColor() { return QColor(32, 159, 223); }
    static QColor PlaceColor() { return QColor(153, 202, 83); }

    QSize sizeHint() const override { return QSize(480, 320); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_terms;
    QVector<double> m_totals;
    QVector<int> m_places;
    double m_totalTop = 10;
    double m_totalStep = 2;
    int m_lastPlace = 2;
    int m_placeStep = 1;
};
