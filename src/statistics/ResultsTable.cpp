#include "statistics/ResultsTable.h"

#include "data/Marks.h"
#include "data/SqlText.h"
#include "widgets/StringAlignGrid.h"

namespace {

constexpr int kFirstSubjectCol = ResultsTable::FirstSubjectCol;

using Step = ClassResultsLoad::Step;

// The scores a row shows: the student's, or 0 for each subject in the empty
// row of a class without students.
std::vector<double> shownScoresOf(const ClassResults& results, int student)
{
    return student >= 0 ? results.shownScores(student) : std::vector<double>(results.subjectCount(), 0.0);
}

} // namespace

ResultsTable::ResultsTable(TStringAlignGrid* grid, TStringAlignGrid* comparison, QObject* parent)
    : QObject(parent), Grid(grid), GridB(comparison)
{
}

void ResultsTable::clear()
{
    ClearGrid(Grid);
    m_results = ClassResults();
    m_rows = GridRows();
}

void ResultsTable::show(const ClassResultsLoad& load, const GridRows& rows, const PlaceColumns* places)
{
    // The table is rebuilt cell by cell; the view hears of it once.
    const TStringAlignGrid::Batch batch(Grid);
    clear();
    if (!load.has(Step::Students))
        return;
    m_results = load.results;
    m_rows = rows;
    ReadyStudent();
    if (!load.has(Step::Plan))
        return;
    ReadySubj();
    if (!load.has(Step::Scores))
        return;
    const bool standards = load.has(Step::Standards);
    ReadyGrade(standards);
    if (!standards)
        return;
    CalcTotal();
    CheckHonours();
    if (load.has(Step::PreviousTerm))
        SetJB(load.has(Step::PreviousTotals));
    if (places && load.complete())
        writePlaces(*places);
    hideRows(rows);
}

void ResultsTable::hideRows(const GridRows& rows)
{
    const TStringAlignGrid::Batch batch(Grid);
    m_rows.hidden = rows.hidden;
    for (int p = 0; p < m_rows.size(); ++p)
        if (m_rows.hidden.value(p))
            Grid->setRowHeight(p + 1, -1);
}

const ClassResults::Student* ResultsTable::studentAt(int tableRow) const
{
    const int p = tableRow - 1;
    if (p < 0 || p >= m_rows.size())
        return nullptr;
    return &m_results.students().at(m_rows.students.at(p));
}

int ResultsTable::totalCol() const
{
    return kFirstSubjectCol + m_results.subjectCount();
}

int ResultsTable::rowCount() const
{
    return qMax(1, m_rows.size());
}

void ResultsTable::ReadyStudent()
{
    Grid->setColCount(3);
    Grid->setRowCount(rowCount() + 1);
    Grid->setColWidth(0, -1);
    for (int p = 0; p < m_rows.size(); ++p) {
        const ClassResults::Student& student = m_results.students().at(m_rows.students.at(p));
        Grid->setCell(0, p + 1, QString::number(student.id));
        Grid->setCell(1, p + 1, student.name);
        Grid->setCell(2, p + 1, student.number);
    }
    Grid->setCell(1, 0, QStringLiteral("姓名"));
    Grid->setCell(2, 0, QStringLiteral("学号"));
    Grid->setColAlignment(2, Qt::AlignRight);
    Grid->setCellAlignment(1, 0, Qt::AlignCenter);
    Grid->setCellAlignment(2, 0, Qt::AlignCenter);
}

void ResultsTable::ReadySubj()
{
    Grid->setColCount(totalCol() + 1);
    for (int j = 0; j < m_results.subjectCount(); ++j) {
        const int col = kFirstSubjectCol + j;
        Grid->setCell(col, 0, m_results.subjects().at(j).name);
        Grid->setCellAlignment(col, 0, Qt::AlignCenter);
        Grid->setColAlignment(col, Qt::AlignRight);
    }
    Grid->setCell(totalCol(), 0, QStringLiteral("总分"));
    Grid->setCellAlignment(totalCol(), 0, Qt::AlignCenter);
    Grid->setColAlignment(totalCol(), Qt::AlignRight);
}

void ResultsTable::ReadyGrade(bool fillMissing)
{
    // Without the standards the table stops at the stored scores; with them
    // every missing score and the totals start as "0.0".
    const QString zero = FormatOneDecimal(0);
    for (int p = 0; p < rowCount(); ++p) {
        const int student = p < m_rows.size() ? m_rows.students.at(p) : -1;
        for (int j = 0; j < m_results.subjectCount(); ++j) {
            const std::optional<double> score = student >= 0 ? m_results.score(student, j) : std::nullopt;
            if (score)
                Grid->setCell(kFirstSubjectCol + j, p + 1, FormatOneDecimal(*score));
            else if (fillMissing)
                Grid->setCell(kFirstSubjectCol + j, p + 1, zero);
        }
        if (fillMissing)
            Grid->setCell(totalCol(), p + 1, zero);
    }
}

void ResultsTable::CalcTotal()
{
    if (m_results.subjectCount() == 0) {
        fillComparison(-2, -2);
        return;
    }
    QVector<int> rowOfStudent(m_results.studentCount());
    for (int p = 0; p < m_rows.size(); ++p)
        rowOfStudent[m_rows.students.at(p)] = p + 1;

    // The lowest and highest totals in roster order; of two equal totals the later row wins.
    int lowest = -2;
    int highest = -2;
    double lowestTotal = 10000.0;
    double highestTotal = 0.0;
    for (int student = m_results.studentCount() > 0 ? 0 : -1; student < m_results.studentCount(); ++student) {
        const int row = student >= 0 ? rowOfStudent.at(student) : 1;
        const bool failing = student >= 0 ? m_results.marks(student).failing
                                          : Marks::HasFailingScore(shownScoresOf(m_results, student));
        Grid->setRowTextColor(row, failing ? FailColor() : QColor(Qt::black));
        const double total = student >= 0 ? m_results.total(student) : 0.0;
        Grid->setCell(totalCol(), row, FormatOneDecimal(total));
        if (total <= lowestTotal) {
            lowestTotal = total;
            lowest = student;
        }
        if (total >= highestTotal) {
            highestTotal = total;
            highest = student;
        }
    }
    fillComparison(lowest, highest);
}

QStringList ResultsTable::rowTexts(int student) const
{
    QStringList texts;
    if (student >= 0) {
        const ClassResults::Student& s = m_results.students().at(student);
        texts << QString::number(s.id) << s.name << s.number;
    } else {
        texts << QString() << QString() << QString();
    }
    const std::vector<double> scores = shownScoresOf(m_results, student);
    for (double score : scores)
        texts << FormatOneDecimal(score);
    texts << FormatOneDecimal(Marks::Total(scores));
    return texts;
}

void ResultsTable::fillComparison(int lowest, int highest)
{
    // Two rows as the table shows them, under the table's headers. Without a
    // row to compare (-2), the figures of the class shown before must not
    // stand under this class's headers.
    const TStringAlignGrid::Batch batch(GridB);
    QStringList headers{QString(), QStringLiteral("姓名"), QStringLiteral("学号")};
    for (const PlanSubject& subject : m_results.subjects())
        headers << subject.name;
    headers << QStringLiteral("总分");
    const QStringList worst = lowest >= -1 ? rowTexts(lowest) : QStringList();
    const QStringList best = highest >= -1 ? rowTexts(highest) : QStringList();
    GridB->setColCount(headers.size());
    for (int col = 0; col < headers.size(); ++col) {
        GridB->setCell(col, 0, headers.at(col));
        GridB->setCellAlignment(col, 0, Qt::AlignCenter);
        GridB->setColAlignment(col, col >= 2 ? Qt::AlignRight : Qt::AlignLeft);
        GridB->setCell(col, 1, worst.value(col));
        GridB->setCell(col, 2, best.value(col));
    }
    GridB->setCell(0, 0, QStringLiteral("名次"));
    GridB->setCell(0, 1, QStringLiteral("最差"));
    GridB->setCell(0, 2, QStringLiteral("最优"));
}

void ResultsTable::CheckHonours()
{
    for (int p = 0; p < m_rows.size(); ++p)
        if (m_results.marks(m_rows.students.at(p)).honours)
            Grid->setRowTextColor(p + 1, HonoursColor());
}

void ResultsTable::SetJB(bool withTotals)
{
    const int prevCol = Grid->colCount();
    Grid->setColCount(prevCol + 1);
    Grid->setCell(prevCol, 0, QStringLiteral("上学期总分"));
    Grid->setCellAlignment(prevCol, 0, Qt::AlignCenter);
    Grid->setColAlignment(prevCol, Qt::AlignRight);
    if (!withTotals)
        return;
    for (int p = 0; p < m_rows.size(); ++p) {
        const int student = m_rows.students.at(p);
        Grid->setCell(prevCol, p + 1, FormatOneDecimal(m_results.shownPreviousTotal(student)));
        if (m_results.marks(student).progress)
            Grid->setRowBackColor(p + 1, ProgressColor());
    }
}

void ResultsTable::writePlaces(const PlaceColumns& places)
{
    const int placeCol = Grid->colCount();
    Grid->setColCount(placeCol + 2);
    const QString headers[] = {QStringLiteral("名次"), QStringLiteral("名次变化")};
    for (int i = 0; i < 2; ++i) {
        Grid->setCell(placeCol + i, 0, headers[i]);
        Grid->setCellAlignment(placeCol + i, 0, Qt::AlignCenter);
        Grid->setColAlignment(placeCol + i, Qt::AlignRight);
    }
    for (int p = 0; p < m_rows.size(); ++p) {
        const int student = m_rows.students.at(p);
        const Place& now = places.now.at(student);
        Grid->setCell(placeCol, p + 1, PlaceText(now));
        if (places.before)
            Grid->setCell(placeCol + 1, p + 1, PlaceChangeText(now, places.before->at(student)));
    }
}
