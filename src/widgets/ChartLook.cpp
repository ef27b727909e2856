#include "widgets/ChartLook.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QLegend>

void ApplyChartLook(QChart* chart)
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
