#pragma once

#include "data/Database.h"

#include <optional>

// The two tables of scores per term, class and subject: a student's grades,
// and a class's honours standards. Both are created from the class's subject
// plan and then changed one score at a time.
struct ScoreTable {
    QString table;       // "TGrade" or "THonoursStd"
    QString ownerColumn; // the column naming the owner within the class, or empty
    double initialScore; // the score of a freshly initialised row
};

namespace Scores {
const ScoreTable& Grades();
const ScoreTable& Standards();
} // namespace Scores

// The score rows of one owner in one term and class: the class itself, or
// one student of it.
struct ScoreRows {
    const ScoreTable* table = nullptr;
    int termCode = 0;
    QString classCode;
    int ownerId = -1;
};

namespace Scores {

// The rows with their subject names (ID, ClassCode, SubjectCode, SubjName,
// Score), by subject code.
Statement List(const ScoreRows& rows);

enum class Initialised { Done, PlanEmpty };
// Replaces the owner's rows by one row per subject of the class's plan, each
// with the table's initial score, all or nothing. With an empty plan the
// rows are kept when emptyPlanKeepsRows, and all removed otherwise. The
// owner's row (the student, or the class) is locked first, so that two
// clerks initialising the same rows take turns instead of leaving both
// their rows behind.
DbValue<Initialised> Initialise(const ScoreRows& rows, bool emptyPlanKeepsRows);

// One score row as its edit dialog shows it.
struct Record {
    QString subjectCode;
    QString subjectName;
    double score = 0;
    RowImage read; // the score's row as found
};
// The row with this ID; none when no row has it (any more).
DbValue<std::optional<Record>> Find(const ScoreTable& table, int id);
// Writes the score alone into the row that was read; a row that has gone or
// that another clerk changed since is a conflict.
DbResult StoreScore(const ScoreTable& table, const RowImage& read, double score);

// Every grade of a term (ID, ClassCode, StudentID, SubjectCode, Score), or
// of one class in it when classCode is given: what an import of scores
// compares its values with.
Statement TermGrades(int termCode, const QString& classCode = QString());

// Writes imported grades many rows per statement (BatchedWrite): a score
// into an existing row, or a new row. flush() must come before the commit.
// Run inside a Transaction.
class GradeWriter {
public:
    GradeWriter();
    DbResult setScore(qint64 id, double score);
    DbResult insert(int termCode, const QString& classCode, int studentId, const QString& subjectCode,
                    double score);
    DbResult flush();

private:
    BatchedWrite m_updates;
    BatchedWrite m_inserts;
};

// The reads of many classes' or many terms' results at once. Score rows
// come in the order of the covering score index, no sorting needed: by the
// first column, student, subject code and entry, so that of two rows for one
// score the later comes last.

// Every score of the term (ClassCode, StudentID, SubjectCode, Score).
Statement OfTerm(int termCode);
// Every score of one class in each of the terms (TermCode, StudentID,
// SubjectCode, Score).
Statement OfClassInTerms(const QString& classCode, const QVector<qint64>& terms);
// Every honours standard of the term (ClassCode, SubjectCode, Score), by
// class and subject, each subject's in the order stored (the order of the
// index, nothing sorted).
Statement StandardsOfTerm(int termCode);
// The terms in which the student has a score under the class (TermCode,
// TermName), oldest first.
Statement TermsWithScores(qint64 studentId, const QString& classCode);

} // namespace Scores
