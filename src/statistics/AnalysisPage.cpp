#include "statistics/AnalysisPage.h"

#include "data/Figures.h"
#include "data/ScoreBands.h"
#include "statistics/GradeCountParts.h"
#include "widgets/BandChart.h"
#include "widgets/StringAlignGrid.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The choice of 总分 in the subject list carries no code.
const QString kTotal = QStringLiteral("总分");

} // namespace

AnalysisPage::AnalysisPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet2"));
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Panel3"));
    bar->setFixedHeight(29);
    bar->setFrameShape(QFrame::Panel);
    bar->setFrameShadow(QFrame::Sunken);
    auto* label = new QLabel(QStringLiteral("科目"), bar);
    label->adjustSize();
    label->move(8, 8);
    cmbBandSubj = new QComboBox(bar);
    cmbBandSubj->setObjectName(QStringLiteral("cmbBandSubj"));
    cmbBandSubj->setGeometry(34, 4, 95, 20);

    GridBand = MakeDisplayGrid(this, QStringLiteral("GridBand"), 3, 2);
    GridBand->setFixedWidth(3 * 80 + 2 * GridBand->frameWidth() + 2);
    GridBand->setCell(0, 0, QStringLiteral("分数段"));
    GridBand->setCell(1, 0, QStringLiteral("人数"));
    GridBand->setCell(2, 0, QStringLiteral("比例"));
    for (int c = 0; c < 3; ++c) {
        GridBand->setCellAlignment(c, 0, Qt::AlignCenter);
        GridBand->setColAlignment(c, c == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }

    m_body = new QHBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->addWidget(GridBand); // the chart goes before it once made
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(m_body, 1);

    connect(cmbBandSubj, &QComboBox::currentIndexChanged, this, [this] { choiceChanged(); });
    clear();
}

TBandChart* AnalysisPage::chart()
{
    if (!m_chart) {
        m_chart = new TBandChart(this);
        m_chart->setObjectName(QStringLiteral("BandChart"));
        m_body->insertWidget(0, m_chart, 1);
        if (isVisible())
            m_chart->show();
    }
    return m_chart;
}

void AnalysisPage::showEvent(QShowEvent* event)
{
    chart();
    QWidget::showEvent(event);
}

void AnalysisPage::show(const ClassResults& results)
{
    m_results = results;
    m_hasClass = true;
    refillSubjects();
    showChosen();
}

void AnalysisPage::clear()
{
    m_results = ClassResults();
    m_hasClass = false;
    refillSubjects();
    showChosen();
}

void AnalysisPage::refillSubjects()
{
    const QSignalBlocker quiet(cmbBandSubj);
    cmbBandSubj->clear();
    if (!m_hasClass)
        return;
    for (const PlanSubject& subject : m_results.subjects())
        cmbBandSubj->addItem(subject.name, subject.code);
    cmbBandSubj->addItem(kTotal); // no code
    const int again = !m_chosen             ? 0
                      : m_chosen->isEmpty() ? cmbBandSubj->count() - 1
                                            : cmbBandSubj->findData(*m_chosen);
    cmbBandSubj->setCurrentIndex(again >= 0 ? again : 0);
}

void AnalysisPage::choiceChanged()
{
    m_chosen = cmbBandSubj->currentData().toString();
    showChosen();
}

void AnalysisPage::showChosen()
{
    if (!m_hasClass) {
        if (m_chart)
            m_chart->clearBands();
        GridBand->setRowCount(1);
        return;
    }
    const int subject = m_results.indexOfSubject(cmbBandSubj->currentData().toString());
    const bool total = subject < 0;
    const BandSpread spread = total ? TotalSpread(m_results) : SubjectSpread(m_results, subject);

    QStringList labels;
    QVector<int> counts;
    QStringList shares;
    for (const ScoreBand& band : spread.bands) {
        labels << band.label;
        counts << band.count;
        shares << FigureText::Rate(spread.sat > 0 ? std::optional(Percent(band.count, spread.sat))
                                                  : std::nullopt);
    }
    const QString name = total ? kTotal : m_results.subjects().at(subject).name;
    chart()->setBands(QStringLiteral("%1分数段分布（参考人数 %2）").arg(name).arg(spread.sat), labels, counts,
                      shares);

    const TStringAlignGrid::Batch batch(GridBand);
    GridBand->setRowCount(int(labels.size()) + 1);
    for (int i = 0; i < labels.size(); ++i) {
        GridBand->setCell(0, i + 1, labels.at(i));
        GridBand->setCell(1, i + 1, QString::number(counts.at(i)));
        GridBand->setCell(2, i + 1, shares.at(i));
    }
}
