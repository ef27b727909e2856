#include "data/ClassResults.h"

#include "data/Database.h"
#include "data/Marks.h"
#include "data/Roster.h"

std::optional<double> ClassResults::score(int student, int subject) const
{
    return m_scores.at(size_t(student) * m_subjects.size() + subject);
}

double ClassResults::shownScore(int student, int subject) const
{
    return Marks::OneDecimal(score(student, subject).value_or(0.0));
}

std::vector<double> ClassResults::shownScores(int student) const
{
    std::vector<double> scores(m_subjects.size());
    for (int j = 0; j < m_subjects.size(); ++j)
        scores[j] = shownScore(student, j);
    return scores;
}

double ClassResults::total(int student) const
{
    return Marks::Total(shownScores(student));
}

std::optional<double> ClassResults::standard(int subject) const
{
    return m_standards.at(subject);
}

std::vector<double> ClassResults::thresholds() const
{
    std::vector<double> values(m_subjects.size());
    for (int j = 0; j < m_subjects.size(); ++j)
        values[j] = threshold(j);
    return values;
}

std::optional<double> ClassResults::previousTotal(int student) const
{
    return m_previousTotals.at(student);
}

double ClassResults::shownPreviousTotal(int student) const
{
    return Marks::OneDecimal(previousTotal(student).value_or(0.0));
}

StudentMarks ClassResults::marks(int student) const
{
    const std::vector<double> scores = shownScores(student);
    StudentMarks marks;
    marks.failing = Marks::HasFailingScore(scores);
    marks.honours = Marks::ReachesEveryStandard(scores, thresholds());
    marks.progress = Marks::ImprovedMuch(Marks::Total(scores), shownPreviousTotal(student));
    return marks;
}

void ClassResults::addStudent(const Student& student)
{
    m_studentIndex.insert(student.id, m_students.size());
    m_students.append(student);
    m_scores.resize(m_scores.size() + m_subjects.size());
    m_previousTotals.emplace_back();
}

void ClassResults::setSubjects(const QVector<PlanSubject>& subjects)
{
    m_subjects = subjects;
    m_subjectIndex.clear();
    for (int j = 0; j < subjects.size(); ++j)
        m_subjectIndex.insert(subjects.at(j).code, j);
    m_scores.assign(size_t(m_students.size()) * subjects.size(), std::nullopt);
    m_standards.assign(subjects.size(), std::nullopt);
}

void ClassResults::setScore(int student, int subject, double score)
{
    m_scores.at(size_t(student) * m_subjects.size() + subject) = score;
}

void ClassResults::setScore(int student, int subject, std::optional<double> score)
{
    m_scores.at(size_t(student) * m_subjects.size() + subject) = score;
}

void ClassResults::addStandard(int subject, double score)
{
    if (!m_standards.at(subject))
        m_standards.at(subject) = score;
}

void ClassResults::setPreviousTotal(int student, double total)
{
    m_previousTotals.at(student) = total;
}

namespace {

using Step = ClassResultsLoad::Step;

// Each step reads its part into the value; false when its statement failed.

bool readStudents(ClassResults& results)
{
    // Namesakes in the order they were entered.
    const DbValue<RowSet> rows = Db::select(Roster::Students(results.classCode()));
    if (!rows)
        return false;
    const int id = rows->indexOf(QStringLiteral("ID"));
    const int name = rows->indexOf(QStringLiteral("SName"));
    const int number = rows->indexOf(QStringLiteral("SNumber"));
    for (int row = 0; row < rows->rowCount(); ++row)
        results.addStudent({rows->value(row, id).toLongLong(), rows->value(row, name).toString(),
                            rows->value(row, number).toString()});
    return true;
}

bool readPlan(ClassResults& results)
{
    const DbValue<QVector<PlanSubject>> subjects = ReadPlanSubjects(results.termCode(), results.classCode());
    if (!subjects)
        return false;
    results.setSubjects(*subjects);
    return true;
}

bool readScores(ClassResults& results)
{
    // In the order stored, so that of two rows for one score the later one
    // is written last and counts.
    const DbValue<RowSet> rows =
        Db::select({QStringLiteral("Select StudentID, SubjectCode, Score from TGrade "
                                   "Where TermCode = ? And ClassCode = ? Order by ID"),
                    {results.termCode(), results.classCode()}});
    if (!rows)
        return false;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const int student = results.indexOfStudent(rows->value(row, 0).toLongLong());
        const int subject = results.indexOfSubject(rows->value(row, 1).toString());
        // A student outside the roster or a subject outside the plan is not in the table.
        if (student >= 0 && subject >= 0)
            results.setScore(student, subject, rows->value(row, 2).toDouble());
    }
    return true;
}

bool readStandards(ClassResults& results)
{
    const DbValue<RowSet> rows =
        Db::select({QStringLiteral("Select SubjectCode, Score from THonoursStd "
                                   "Where TermCode = ? And ClassCode = ? Order by ID"),
                    {results.termCode(), results.classCode()}});
    if (!rows)
        return false;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const int subject = results.indexOfSubject(rows->value(row, 0).toString());
        if (subject >= 0)
            results.addStandard(subject, rows->value(row, 1).toDouble());
    }
    return true;
}

bool readPreviousTerm(ClassResults& results)
{
    const DbValue<RowSet> rows = Db::select(
        {QStringLiteral("Select Max(TermCode) from TTerm Where TermCode < ?"), {results.termCode()}});
    if (!rows)
        return false;
    const QVariant previous = rows->value(0, 0);
    if (!previous.isNull())
        results.setPreviousTerm(previous.toLongLong());
    return true;
}

bool readPreviousTotals(ClassResults& results)
{
    // Without an earlier term there is nothing to sum.
    if (!results.previousTerm())
        return true;
    const DbValue<RowSet> rows =
        Db::select({QStringLiteral("Select StudentID, Sum(Score) from TGrade "
                                   "Where TermCode = ? And ClassCode = ? Group by StudentID"),
                    {*results.previousTerm(), results.classCode()}});
    if (!rows)
        return false;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const int student = results.indexOfStudent(rows->value(row, 0).toLongLong());
        if (student >= 0)
            results.setPreviousTotal(student, rows->value(row, 1).toDouble());
    }
    return true;
}

} // namespace

ClassResultsLoad LoadClassResults(qint64 termCode, const QString& classCode)
{
    ClassResultsLoad load{ClassResults(termCode, classCode), Step::Done};
    const std::pair<Step, bool (*)(ClassResults&)> steps[] = {
        {Step::Students, readStudents},
        {Step::Plan, readPlan},
        {Step::Scores, readScores},
        {Step::Standards, readStandards},
        {Step::PreviousTerm, readPreviousTerm},
        {Step::PreviousTotals, readPreviousTotals},
    };
    for (const auto& [step, read] : steps) {
        if (!read(load.results)) {
            load.failed = step;
            break;
        }
    }
    return load;
}
