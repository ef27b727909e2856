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

// The reads of many rows go straight from the engine, row by row (see
// Db::selectEach): a class's 600 scores as variants cost more than their
// reading.
bool readStudents(ClassResults& results)
{
    // Namesakes in the order they were entered. ID, ClassCode, SName, SNumber, ...
    return bool(Db::selectEach(Roster::Students(results.classCode()), [&](const StreamRow& row) {
        results.addStudent({row.integer(0), row.text(2), row.text(3)});
    }));
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
    // A score's rows in the order stored, so that of two rows for one score
    // the later one is written last and counts; by student and subject first,
    // which is the order of the index the rows are read from.
    return bool(Db::selectEach({QStringLiteral("Select StudentID, SubjectCode, Score from TGrade "
                                               "Where TermCode = ? And ClassCode = ? "
                                               "Order by StudentID, SubjectCode, ID"),
                                {results.termCode(), results.classCode()}},
                               [&](const StreamRow& row) {
                                   const int student = results.indexOfStudent(row.integer(0));
                                   const int subject = results.indexOfSubject(row.text(1));
                                   // A student outside the roster or a subject outside the plan
                                   // is not in the table.
                                   if (student >= 0 && subject >= 0)
                                       results.setScore(student, subject, row.real(2));
                               }));
}

bool readStandards(ClassResults& results)
{
    return bool(Db::selectEach({QStringLiteral("Select SubjectCode, Score from THonoursStd "
                                               "Where TermCode = ? And ClassCode = ? Order by ID"),
                                {results.termCode(), results.classCode()}},
                               [&](const StreamRow& row) {
                                   const int subject = results.indexOfSubject(row.text(0));
                                   if (subject >= 0)
                                       results.addStandard(subject, row.real(1));
                               }));
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
    return bool(Db::selectEach({QStringLiteral("Select StudentID, Sum(Score) from TGrade "
                                               "Where TermCode = ? And ClassCode = ? Group by StudentID"),
                                {*results.previousTerm(), results.classCode()}},
                               [&](const StreamRow& row) {
                                   const int student = results.indexOfStudent(row.integer(0));
                                   if (student >= 0)
                                       results.setPreviousTotal(student, row.real(1));
                               }));
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
