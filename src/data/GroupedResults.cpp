#include "data/GroupedResults.h"

#include "data/Plan.h"
#include "data/Roster.h"
#include "data/Scores.h"

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

using KeyOf = std::function<int(const StreamRow&)>;

// The score rows of a key (class or term) in column 0, student 1, subject 2,
// score 3, in the order of key, student and entry: the later of two rows
// for one score is set last and counts.
DbResult readScores(const Statement& read, std::vector<ClassResults>& results,
                    const std::vector<PlanCodes>& plans, const KeyOf& keyOf)
{
    return Db::selectEach(read, [&](const StreamRow& row) {
        const int k = keyOf(row);
        if (k < 0)
            return;
        ClassResults& r = results[k];
        const int student = r.indexOfStudent(row.integer(1));
        const int subject = plans[k].indexOf(row.utf8(2));
        // A student outside the roster or a subject outside the plan is not in the table.
        if (student >= 0 && subject >= 0)
            r.setScore(student, subject, row.real(3));
    });
}

// Plan rows: key in column 0, code 1, name 2, by key and subject code.
DbResult readPlans(const Statement& read, std::vector<ClassResults>& results, std::vector<PlanCodes>& plans,
                   const KeyOf& keyOf)
{
    std::vector<QVector<PlanSubject>> subjects(results.size());
    const DbResult done = Db::selectEach(read, [&](const StreamRow& row) {
        const int k = keyOf(row);
        if (k >= 0)
            subjects[k].append({row.text(1), row.text(2)});
    });
    if (!done)
        return done;
    for (size_t k = 0; k < results.size(); ++k) {
        results[k].setSubjects(subjects[k]);
        plans.emplace_back(subjects[k]);
    }
    return {};
}

DbResult readClasses(TermResults& term, QHash<QString, int>& index)
{
    // ID, ClassCode, ClassName by class code.
    return Db::selectEach(Plan::ActiveClasses(int(term.termCode)), [&](const StreamRow& row) {
        index.insert(row.text(1), term.classes.size());
        term.classes.append({row.text(1), row.text(2)});
        term.results.emplace_back(term.termCode, term.classes.last().code);
    });
}

DbResult readTermRosters(TermResults& term, const QHash<QString, int>& index)
{
    RunningKey klass(index);
    return Db::selectEach(Roster::StudentsOfTerm(int(term.termCode)), [&](const StreamRow& row) {
        const int k = klass.indexOf(row.utf8(0));
        if (k >= 0)
            term.results[k].addStudent({row.integer(1), row.text(2), row.text(3)});
    });
}

DbResult readTermStandards(TermResults& term, const QHash<QString, int>& index,
                           const std::vector<PlanCodes>& plans)
{
    // A subject's in the order stored: the first standard of a subject counts.
    RunningKey klass(index);
    return Db::selectEach(Scores::StandardsOfTerm(int(term.termCode)), [&](const StreamRow& row) {
        const int k = klass.indexOf(row.utf8(0));
        const int subject = k >= 0 ? plans[k].indexOf(row.utf8(1)) : -1;
        if (subject >= 0)
            term.results[k].addStandard(subject, row.real(2));
    });
}

} // namespace

DbValue<TermResults> LoadTermResults(qint64 termCode)
{
    TermResults term;
    term.termCode = termCode;
    QHash<QString, int> index;
    if (DbResult done = readClasses(term, index); !done)
        return done;
    if (DbResult done = readTermRosters(term, index); !done)
        return done;

    std::vector<PlanCodes> plans;
    RunningKey planClass(index);
    if (DbResult done = readPlans(Plan::SubjectsOfTerm(int(termCode)), term.results, plans,
                                  [&](const StreamRow& r) { return planClass.indexOf(r.utf8(0)); });
        !done)
        return done;
    if (DbResult done = readTermStandards(term, index, plans); !done)
        return done;

    RunningKey scoreClass(index);
    if (DbResult done = readScores(Scores::OfTerm(int(termCode)), term.results, plans,
                                   [&](const StreamRow& r) { return scoreClass.indexOf(r.utf8(0)); });
        !done)
        return done;
    return term;
}

DbValue<std::vector<ClassResults>> LoadClassInTerms(const QString& classCode, const QVector<qint64>& terms)
{
    std::vector<ClassResults> results;
    QHash<qint64, int> index;
    for (qint64 term : terms) {
        index.insert(term, int(results.size()));
        results.emplace_back(term, classCode);
    }
    // ID, ClassCode, SName, SNumber, ...
    const DbResult roster = Db::selectEach(Roster::Students(classCode), [&](const StreamRow& row) {
        for (ClassResults& r : results)
            r.addStudent({row.integer(0), row.text(2), row.text(3)});
    });
    if (!roster)
        return roster;
    if (terms.isEmpty())
        return results;

    const KeyOf termOf = [&](const StreamRow& r) { return index.value(r.integer(0), -1); };
    std::vector<PlanCodes> plans;
    if (DbResult done = readPlans(Plan::SubjectsInTerms(classCode, terms), results, plans, termOf); !done)
        return done;
    if (DbResult done = readScores(Scores::OfClassInTerms(classCode, terms), results, plans, termOf); !done)
        return done;
    return results;
}

DbValue<Places> ReadPreviousPlaces(const ClassResults& results)
{
    if (!results.previousTerm())
        return Places(results.studentCount());
    const DbValue<std::vector<ClassResults>> previous =
        LoadClassInTerms(results.classCode(), {*results.previousTerm()});
    if (!previous)
        return DbResult(previous);
    return PlacesOfStudents(results, previous->front());
}
