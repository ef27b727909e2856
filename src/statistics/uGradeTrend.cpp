#include "statistics/uGradeTrend.h"

#include "data/Messages.h"
#include "data/SqlText.h"
#include "forms/uPub.h"
#include "statistics/GradeCountParts.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TrendChart.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QVBoxLayout>

TfrmGradeTrend::TfrmGradeTrend(qint64 studentId, QWidget* parent) : TForm(parent), m_studentId(studentId)
{
    setObjectName(QStringLiteral("frmGradeTrend"));
    setWindowTitle(QStringLiteral("成绩走势"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(900, 500);

    LabelStudent = new QLabel(this);
    LabelStudent->setObjectName(QStringLiteral("LabelStudent"));
    GridTrend = MakeDisplayGrid(this, QStringLiteral("GridTrend"), 4, 2);
    GridTrend->setColWidth(0, 150);
    // Room for a vertical scroll bar: a long history scrolls.
    GridTrend->setFixedWidth(150 + 3 * 56 + 2 * GridTrend->frameWidth() +
                             style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    const QString headers[] = {QStringLiteral("学期"), QStringLiteral("总分"), QStringLiteral("名次"),
                               QStringLiteral("参考人数")};
    for (int c = 0; c < 4; ++c) {
        if (c > 0)
            GridTrend->setColWidth(c, 56);
        GridTrend->setCell(c, 0, headers[c]);
        GridTrend->setCellAlignment(c, 0, Qt::AlignCenter);
        GridTrend->setColAlignment(c, c == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    m_chart = new TTrendChart(this);
    m_chart->setObjectName(QStringLiteral("TrendChart"));

    QFrame* panel = MakeButtonPanel(this);
    QPushButton* close = MakeButton(QStringLiteral("关闭(&X)"), panel, QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(8, 9, 8, 9);
    buttons->addStretch();
    buttons->addWidget(close);
    setCancelButton(close);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* body = new QHBoxLayout;
    body->addWidget(GridTrend);
    body->addWidget(m_chart, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(LabelStudent);
    layout->addLayout(body, 1);
    layout->addWidget(panel);
}

bool TfrmGradeTrend::ReadyData()
{
    const DbValue<StudentHistory> history = LoadStudentHistory(m_studentId);
    if (!Succeeded(history, Msg::ReadFailed))
        return false;
    showHistory(*history);
    return true;
}

void TfrmGradeTrend::showHistory(const StudentHistory& history)
{
    LabelStudent->setText(QStringLiteral("学生：%1    学号：%2").arg(history.name, history.number));
    const TStringAlignGrid::Batch batch(GridTrend);
    GridTrend->setRowCount(qMax(2, int(history.terms.size()) + 1));
    QStringList terms;
    QSet<QString> seen;
    QVector<double> totals;
    QVector<int> places;
    int ranked = 0;
    for (int i = 0; i < history.terms.size(); ++i) {
        const StudentHistory::Term& term = history.terms.at(i);
        GridTrend->setCell(0, i + 1, term.termName);
        GridTrend->setCell(1, i + 1, FormatOneDecimal(term.total));
        GridTrend->setCell(2, i + 1, QString::number(term.place));
        GridTrend->setCell(3, i + 1, QString::number(term.ranked));
        // The chart's terms must differ: a name used twice takes its code.
        QString label = term.termName;
        if (seen.contains(label))
            label += QStringLiteral("（%1）").arg(term.termCode);
        seen.insert(label);
        terms << label;
        totals << term.total;
        places << term.place;
        ranked = qMax(ranked, term.ranked);
    }
    m_chart->setCourse(terms, totals, places, ranked);
}

bool ShowGradeTrend(qint64 studentId)
{
    return RunModal<TfrmGradeTrend>(studentId);
}
