#pragma once

#include "data/PlanSubjects.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>
#include <vector>

// What the marking rules say of one student.
struct StudentMarks {
    bool failing = false;  // a score below the pass mark
    bool honours = false;  // every honours standard reached
    bool progress = false; // the total grew by more than a tenth
};

// The results of one class in one term: the roster, the plan's subjects,
// every score, the honours standards and the previous term's totals. A
// plain value: it is read once and then asked; nothing in it refers back to
// the database or to a window.
//
// Students and subjects are addressed by their index (roster order, plan
// order). What does not exist is kept apart from 0: a missing score, a
// subject without a standard, a student without scores in the previous term.
// The shown* figures and the marks are those of the table, which counts a
// missing score as 0 and works on one-decimal numbers.
class ClassResults {
public:
    struct Student {
        qint64 id = 0;
        QString name;
        QString number;
    };

    ClassResults() = default;
    ClassResults(qint64 termCode, const QString& classCode) : m_termCode(termCode), m_classCode(classCode) {}

    qint64 termCode() const { return m_termCode; }
    QString classCode() const { return m_classCode; }

    const QVector<Student>& students() const { return m_students; }
    const QVector<PlanSubject>& subjects() const { return m_subjects; }
    int studentCount() const { return m_students.size(); }
    int subjectCount() const { return m_subjects.size(); }
    // -1 when the student is not on the roster, the subject not in the plan.
    int indexOfStudent(qint64 id) const { return m_studentIndex.value(id, -1); }
    int indexOfSubject(const QString& code) const { return m_subjectIndex.value(code, -1); }

    std::optional<double> score(int student, int subject) const;
    double shownScore(int student, int subject) const;
    std::vector<double> shownScores(int student) const;
    double total(int student) const; // as shown

    std::optional<double> standard(int subject) const;
    // The threshold the honours rule uses: the standard, or 0 without one.
    double threshold(int subject) const { return standard(subject).value_or(0.0); }
    std::vector<double> thresholds() const;

    // The term with the largest code below this one; nullopt when there is none.
    std::optional<qint64> previousTerm() const { return m_previousTerm; }
    // The sum of the student's scores in the previous term under this class
    // code, whatever their subjects; nullopt when there are none.
    std::optional<double> previousTotal(int student) const;
    double shownPreviousTotal(int student) const;

    StudentMarks marks(int student) const;

    // Building, in this order: the roster, the plan, then scores and the rest.
    void addStudent(const Student& student);
    void setSubjects(const QVector<PlanSubject>& subjects);
    void setScore(int student, int subject, double score);
    // The cell as it is now, a missing score included (the entry sheet keeps it up to date).
    void setScore(int student, int subject, std::optional<double> score);
    // The first standard of a subject counts; later ones are ignored.
    void addStandard(int subject, double score);
    void setPreviousTerm(qint64 termCode) { m_previousTerm = termCode; }
    void setPreviousTotal(int student, double total);

private:
    qint64 m_termCode = 0;
    QString m_classCode;
    QVector<Student> m_students;
    QVector<PlanSubject> m_subjects;
    QHash<qint64, int> m_studentIndex;
    QHash<QString, int> m_subjectIndex;
    std::vector<std::optional<double>> m_scores; // student-major
    std::vector<std::optional<double>> m_standards;
    std::optional<qint64> m_previousTerm;
    std::vector<std::optional<double>> m_previousTotals;
};

// The outcome of reading a class's results: the value as far as the reading
// got, and the step whose statement failed (Done when none did). The steps
// run in this order and each only after the one before succeeded.
struct ClassResultsLoad {
    enum class Step { Students, Plan, Scores, Standards, PreviousTerm, PreviousTotals, Done };

    ClassResults results;
    Step failed = Step::Done;

    // True when the step's part of the value was read.
    bool has(Step step) const { return step < failed; }
    bool complete() const { return failed == Step::Done; }
};

// Reads the results of a class in a term on the data module's connection.
// Of two score rows for one student and subject the later one counts.
ClassResultsLoad LoadClassResults(qint64 termCode, const QString& classCode);
