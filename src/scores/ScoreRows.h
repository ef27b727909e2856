#pragma once

#include <QString>

// What tells a student's scores from a class's honours standards. Both are
// rows per term, class and subject with a Score, created from the class's
// subject plan and then edited one at a time; they differ in their table,
// in whether a student owns the rows, and in a few rules of entry.
struct ScoreKind {
    QString table;             // "TGrade" or "THonoursStd"
    QString ownerColumn;       // the column naming the owner within the class, or empty
    QString initialScore;      // the score of a freshly initialised row
    bool emptyPlanRefused;     // an empty plan keeps the rows instead of clearing them
    QString completedMessage;  // shown when an initialisation has run through, or empty
    QString scoreTitle;        // the score's grid title and dialog label
    bool decimalPoint;         // whether a fraction may be typed
    QString emptyScoreMessage; // the dialog's refusal of an empty score
};

// A student's scores (window "学生成绩录入").
const ScoreKind& GradeScores();
// A class's honours standards (window "优生评定标准").
const ScoreKind& HonoursStandards();

// The rows of one owner in one term and class: the class itself, or one
// student of it. Builds every statement that reads or replaces them; codes
// are quoted, numbers come from integers.
class ScoreRows {
public:
    ScoreRows(const ScoreKind& kind, int termCode, const QString& classCode, int ownerId = -1);

    const ScoreKind& kind() const { return *m_kind; }

    QString listSql() const;   // the rows with their subject names, by subject code
    QString deleteSql() const; // all of the owner's rows in the term and class
    QString planSql() const;   // the class's subject plan for the term
    QString insertSql(const QString& subjCode) const;

    // The one row an edit dialog works on.
    static QString recordSql(const ScoreKind& kind, int id);

private:
    QString ownerCondition() const;

    const ScoreKind* m_kind;
    int m_term;
    QString m_class;
    int m_owner;
};
