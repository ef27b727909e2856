#include "statistics/SummaryRows.h"

#include "data/Figures.h"
#include "statistics/ResultsTable.h"
#include "widgets/FollowingGrid.h"

namespace {

constexpr int kLabelCol = 1;

} // namespace

QStringList SummaryRows::Texts(const ColumnFigures& f, bool withRates)
{
    return {FigureText::Count(f.sat),
            FigureText::Average(f.average),
            FigureText::Score(f.highest),
            FigureText::Score(f.lowest),
            withRates ? FigureText::Rate(f.passRate) : QString(),
            withRates ? FigureText::Rate(f.excellentRate) : QString()};
}

SummaryRows::SummaryRows(TFollowingGrid* grid, QObject* parent) : QObject(parent), m_grid(grid)
{
    m_grid->setDataRows(int(Labels().size()));
}

const QStringList& SummaryRows::Labels()
{
    static const QStringList labels{QStringLiteral("参考人数"), QStringLiteral("平均分"),
                                    QStringLiteral("最高分"),   QStringLiteral("最低分"),
                                    QStringLiteral("及格率"),   QStringLiteral("优秀率")};
    return labels;
}

void SummaryRows::clear()
{
    const TFollowingGrid::Batch batch(m_grid);
    m_grid->followColumns();
    for (int r = 1; r < m_grid->rowCount(); ++r)
        for (int c = 0; c < m_grid->colCount(); ++c)
            m_grid->setCell(c, r, QString());
}

void SummaryRows::writeLabels()
{
    for (int r = 0; r < Labels().size(); ++r)
        m_grid->setCell(kLabelCol, r + 1, Labels().at(r));
}

void SummaryRows::show(const ClassResults& results)
{
    const TFollowingGrid::Batch batch(m_grid);
    clear();
    writeLabels();
    const auto writeColumn = [this](int col, const QStringList& texts) {
        m_grid->setColAlignment(col, Qt::AlignRight);
        for (int r = 0; r < texts.size(); ++r)
            m_grid->setCell(col, r + 1, texts.at(r));
    };
    for (int j = 0; j < results.subjectCount(); ++j)
        writeColumn(ResultsTable::FirstSubjectCol + j, Texts(SubjectFigures(results, j), true));
    writeColumn(ResultsTable::FirstSubjectCol + results.subjectCount(), Texts(TotalFigures(results), false));
}
