#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What an import would do, row by row, before anything is stored: shown to
// the user, who can import only when no row has a problem.
struct PreviewRow {
    enum class Outcome { Added, Updated, Unchanged };

    int line = 0; // the row's number as a spreadsheet shows it
    QString className;
    QString name;
    QString number;
    QString action; // "新增", "更新", "无变化", or the scores added and replaced
    QStringList problems;
    Outcome outcome = Outcome::Unchanged;
    int scoresAdded = 0;
    int scoresReplaced = 0;
};

struct ImportPreview {
    bool ofScores = false; // the counts are of scores, not of students
    QVector<PreviewRow> rows;
    // The counts of the rows without problems, as tally() made them.
    int added = 0;     // students, or rows of scores with only scores new to the term
    int updated = 0;   // students, or rows with a score replaced
    int unchanged = 0; // rows that change nothing
    int scoresAdded = 0;
    int scoresReplaced = 0;

    // Counts the rows once every row has its problems: a row with a problem
    // will not be imported and counts for nothing.
    void tally();

    // A problem of the file as a whole (its header, say) at the given line.
    void addFileProblem(int line, const QString& problem);
    int problemRows() const;
    bool hasProblems() const { return problemRows() > 0; }
    bool changesSomething() const { return added + updated > 0; }
};

// Reports how far a long import has come; the user may cancel it.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // false when the user cancelled: the work stops and stores nothing.
    virtual bool advance(int done, int total) = 0;
};

// Outcome of storing an import: all of it, or nothing because it was cancelled.
enum class Stored { Done, Cancelled };
