#pragma once

#include "data/DbResult.h"

#include <QString>
#include <QVector>
#include <optional>

// The statements of the quick entry sheet: a class's scores in a term
// written cell by cell or as a block, each call in one transaction of its
// own, so that what was stored survives the program being killed a moment
// later. Values are bound, never spliced.

// A cell's score: nullopt when the cell has no TGrade row.
using CellScore = std::optional<double>;

// The term and class a sheet shows.
struct SheetClass {
    qint64 termCode = 0;
    QString classCode;

    bool operator==(const SheetClass& o) const { return termCode == o.termCode && classCode == o.classCode; }
    bool operator!=(const SheetClass& o) const { return !(*this == o); }
};

// One cell of the sheet: a student of the class in one subject.
struct SheetCell {
    qint64 studentId = 0;
    QString subjectCode;

    bool operator==(const SheetCell& o) const
    {
        return studentId == o.studentId && subjectCode == o.subjectCode;
    }
};

// What one cell is to hold: a score updates every row of the cell (or
// inserts one when there is none); no score removes the cell's rows.
struct CellWrite {
    SheetCell cell;
    CellScore score;
};

// What a write that ran did. A refusal stores nothing of the call; a
// statement that failed comes back as a failed result instead, with nothing
// stored either.
struct SheetWrite {
    enum class Outcome {
        Stored,      // every cell written and committed
        Changed,     // a cell no longer held what was expected
        StudentGone, // a row was to be added for a student no longer on the class's roster
    };

    Outcome outcome = Outcome::Stored;
    QVector<CellScore> before; // when stored: what each cell held, in the order written
    int offending = -1;        // Changed, StudentGone: the index of the cell concerned

    bool stored() const { return outcome == Outcome::Stored; }
};

namespace ScoreSheet {

// Each cell at most once per call; the cells are written in the order given.
DbValue<SheetWrite> StoreScore(const SheetClass& klass, const SheetCell& cell, double score);
DbValue<SheetWrite> StoreScores(const SheetClass& klass, const QVector<CellWrite>& writes);
DbValue<SheetWrite> ClearScores(const SheetClass& klass, const QVector<SheetCell>& cells);
// Writes only when every cell still holds what expected says, checked in the
// same transaction: how a change is taken back without overwriting a
// change made meanwhile by another window or program.
DbValue<SheetWrite> StoreScoresIfUnchanged(const SheetClass& klass, const QVector<CellWrite>& writes,
                                           const QVector<CellScore>& expected);

// What the cells hold now, in the order given: of two rows for one cell the
// later one counts, as in every table.
DbValue<QVector<CellScore>> ReadStoredScores(const SheetClass& klass, const QVector<SheetCell>& cells);

} // namespace ScoreSheet
