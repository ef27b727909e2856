#include "data/GroupedResults.h"

#include "data/RowReader.h"

#include <QHash>

namespace {

// A plan's subject codes as stored bytes: score rows name their subject by
// code, and a plan has a few subjects, so a look along them beats making a
// text of every row's code. A student's rows come in code order, as the plan
// does, so the look starts after the subject found last.
class PlanCodes {
public:
    explicit PlanCodes(const QVector<PlanSubject>& subjects)
    {
        for (const PlanSubject& subject : subjects)
            m_codes.append(subject.code.toUtf8());
    }
    int indexOf(QByteArrayView code) const
    {
        const int count = m_codes.size();
        for (int k = 1; k <= count; ++k) {
            const int j = (m_last + k) % count;
            if (QByteArrayView(m_codes.at(j)) == code)
                return m_last = j;
        }
        return -1;
    }

private:
    QVector<QByteArray> m_codes;
    mutable int m_last = -1;
};

// Placeholders for a list of bound values: "?, ?, ?".
QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QVariantList asValues(const QVector<qint64>& numbers)
{
    QVariantList values;
    for (qint64 n : numbers)
        values << n;
    return values;
}

// Rows keyed by a text (class codes) come in key order; the key is looked
// up only when it changes.
class RunningKey {
public:
    explicit RunningKey(const QHash<QString, int>& index) : m_index(index) {}
    int indexOf(QByteArrayView key)
    {
        if (m_valid && key == QByteArrayView(m_key))
            return m_current;
        m_key = key.toByteArray();
        m_valid = true;
        m_current = m_index.value(QString::fromUtf8(m_key), -1);
        return m_current;
    }

private:
    const QHash<QString, int>& m_index;
    QByteArray m_key;
    bool m_valid = false;
    int m_current = -1;
};

// The score rows of a key (class or term) column 0, student 1, subject 2,
// score 3, in the order of key, student and entry: the later of two rows
// for one score is set last and counts.
template <class KeyOf>
bool readScores(RowReader& rows, std::vector<ClassResults>& results, const std::vector<PlanCodes>& plans,
                KeyOf keyOf)
{
    while (rows.next()) {
        const int k = keyOf(rows);
        if (k < 0)
            continue;
        ClassResults& r = results[k];
        const int student = r.indexOfStudent(rows.integer(1));
        const int subject = plans[k].indexOf(rows.utf8(2));
        // A student outside the roster or a subject outside the plan is not in the table.
        if (student >= 0 && subject >= 0)
            r.setScore(student, subject, rows.real(3));
    }
    return !rows.failed();
}

bool readClasses(TermResults& term, QHash<QString, int>& index)
{
    RowReader rows(QStringLiteral("Select TTermToClass.ClassCode, TClass.ClassName from TTermToClass "
                                  "join TClass on TClass.ClassCode = TTermToClass.ClassCode "
                                  "Where TTermToClass.TermCode = ? Order by TTermToClass.ClassCode"),
                   {term.termCode});
    while (rows.next()) {
        index.insert(rows.text(0), term.classes.size());
        term.classes.append({rows.text(0), rows.text(1)});
        term.results.emplace_back(term.termCode, term.classes.last().code);
    }
    return !rows.failed();
}

bool readTermRosters(TermResults& term, const QHash<QString, int>& index)
{
    // Namesakes in the order they were entered, as in a single class's reading.
    RowReader rows(
        QStringLiteral("Select TStudent.ClassCode, TStudent.ID, TStudent.SName, TStudent.SNumber "
                       "from TStudent join TTermToClass on TTermToClass.ClassCode = TStudent.ClassCode "
                       "Where TTermToClass.TermCode = ? "
                       "Order by TStudent.ClassCode, TStudent.SName, TStudent.ID"),
        {term.termCode});
    RunningKey klass(index);
    while (rows.next()) {
        const int k = klass.indexOf(rows.utf8(0));
        if (k >= 0)
            term.results[k].addStudent({rows.integer(1), rows.text(2), rows.text(3)});
    }
    return !rows.failed();
}

// Plan rows: key in column 0, code 1, name 2, by key and subject code.
template <class KeyOf>
bool readPlans(RowReader& rows, std::vector<ClassResults>& results, std::vector<PlanCodes>& plans,
               KeyOf keyOf)
{
    std::vector<QVector<PlanSubject>> subjects(results.size());
    while (rows.next()) {
        const int k = keyOf(rows);
        if (k >= 0)
            subjects[k].append({rows.text(1), rows.text(2)});
    }
    if (rows.failed())
        return false;
    for (size_t k = 0; k < results.size(); ++k) {
        results[k].setSubjects(subjects[k]);
        plans.emplace_back(subjects[k]);
    }
    return true;
}

bool readTermStandards(TermResults& term, const QHash<QString, int>& index,
                       const std::vector<PlanCodes>& plans)
{
    // In the order stored: the first standard of a subject counts.
    RowReader rows(QStringLiteral("Select ClassCode, SubjectCode, Score from THonoursStd "
                                  "Where TermCode = ? Order by ID"),
                   {term.termCode});
    while (rows.next()) {
        const int k = index.value(rows.text(0), -1);
        const int subject = k >= 0 ? plans[k].indexOf(rows.utf8(1)) : -1;
        if (subject >= 0)
            term.results[k].addStandard(subject, rows.real(2));
    }
    return !rows.failed();
}

} // namespace

std::optional<TermResults> LoadTermResults(qint64 termCode)
{
    TermResults term;
    term.termCode = termCode;
    QHash<QString, int> index;
    if (!readClasses(term, index) || !readTermRosters(term, index))
        return std::nullopt;

    std::vector<PlanCodes> plans;
    RunningKey planClass(index);
    RowReader planRows(
        QStringLiteral("Select TClassToSubject.ClassCode, TClassToSubject.SubjCode, TSubject.SubjName "
                       "from TClassToSubject join TSubject on TSubject.SubjCode = TClassToSubject.SubjCode "
                       "Where TClassToSubject.TermCode = ? "
                       "Order by TClassToSubject.ClassCode, TClassToSubject.SubjCode"),
        {termCode});
    if (!readPlans(planRows, term.results, plans, [&](RowReader& r) { return planClass.indexOf(r.utf8(0)); }))
        return std::nullopt;
    if (!readTermStandards(term, index, plans))
        return std::nullopt;

    // The order of the score index: no sorting of a whole term's scores.
    RowReader scoreRows(QStringLiteral("Select ClassCode, StudentID, SubjectCode, Score from TGrade "
                                       "Where TermCode = ? Order by ClassCode, StudentID, SubjectCode, ID"),
                        {termCode});
    RunningKey scoreClass(index);
    if (!readScores(scoreRows, term.results, plans,
                    [&](RowReader& r) { return scoreClass.indexOf(r.utf8(0)); }))
        return std::nullopt;
    return term;
}

std::optional<std::vector<ClassResults>> LoadClassInTerms(const QString& classCode,
                                                          const QVector<qint64>& terms)
{
    std::vector<ClassResults> results;
    QHash<qint64, int> index;
    for (qint64 term : terms) {
        index.insert(term, int(results.size()));
        results.emplace_back(term, classCode);
    }
    {
        RowReader rows(
            QStringLiteral("Select ID, SName, SNumber from TStudent Where ClassCode = ? Order by SName, ID"),
            {classCode});
        while (rows.next())
            for (ClassResults& r : results)
                r.addStudent({rows.integer(0), rows.text(1), rows.text(2)});
        if (rows.failed())
            return std::nullopt;
    }
    if (terms.isEmpty())
        return results;

    const QString inTerms = placeholders(terms.size());
    const QVariantList values = QVariantList{classCode} + asValues(terms);
    const auto termOf = [&](RowReader& r) { return index.value(r.integer(0), -1); };

    std::vector<PlanCodes> plans;
    RowReader planRows(
        QStringLiteral("Select TClassToSubject.TermCode, TClassToSubject.SubjCode, TSubject.SubjName "
                       "from TClassToSubject join TSubject on TSubject.SubjCode = TClassToSubject.SubjCode "
                       "Where TClassToSubject.ClassCode = ? And TClassToSubject.TermCode in (%1) "
                       "Order by TClassToSubject.TermCode, TClassToSubject.SubjCode")
            .arg(inTerms),
        values);
    if (!readPlans(planRows, results, plans, termOf))
        return std::nullopt;

    RowReader scoreRows(
        QStringLiteral(
            "Select TermCode, StudentID, SubjectCode, Score from TGrade "
            "Where ClassCode = ? And TermCode in (%1) Order by TermCode, StudentID, SubjectCode, ID")
            .arg(inTerms),
        values);
    if (!readScores(scoreRows, results, plans, termOf))
        return std::nullopt;
    return results;
}

std::optional<Places> ReadPreviousPlaces(const ClassResults& results)
{
    if (!results.previousTerm())
        return Places(results.studentCount());
    const std::optional<std::vector<ClassResults>> previous =
        LoadClassInTerms(results.classCode(), {*results.previousTerm()});
    if (!previous)
        return std::nullopt;
    return PlacesOfStudents(results, previous->front());
}
