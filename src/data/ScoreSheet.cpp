#include "data/ScoreSheet.h"

#include "data/Database.h"
#include "data/Roster.h"
#include "data/SqlEngine.h"
#include "data/uDM.h"

#include <QHash>
#include <QSet>

namespace {

using Outcome = SheetWrite::Outcome;

// Students per read: well below SQLite's limit of bound values.
constexpr int StudentsPerRead = 500;

// The rows of the cells' students in the class and term, in the order
// stored, so that of two rows for one cell the later one counts. A block is
// mostly whole students, and the index on term, class and student finds
// each student's rows at once.
DbValue<QVector<CellScore>> Read(const SheetClass& klass, const QVector<SheetCell>& cells)
{
    QVector<qint64> students;
    QHash<qint64, QHash<QString, int>> wanted; // student -> subject -> position in cells
    for (int i = 0; i < cells.size(); ++i) {
        const SheetCell& cell = cells.at(i);
        auto found = wanted.find(cell.studentId);
        if (found == wanted.end()) {
            students.append(cell.studentId);
            found = wanted.insert(cell.studentId, {});
        }
        found->insert(cell.subjectCode, i);
    }
    QVector<CellScore> scores(cells.size());
    for (int first = 0; first < students.size(); first += StudentsPerRead) {
        const int count = std::min<int>(StudentsPerRead, students.size() - first);
        Statement read{
            QStringLiteral("Select StudentID, SubjectCode, Score from TGrade "
                           "Where TermCode = ? And ClassCode = ? And StudentID in (%1) Order by ID")
                .arg(Placeholders(count)),
            {klass.termCode, klass.classCode}};
        for (int i = first; i < first + count; ++i)
            read.values << students.at(i);
        const DbValue<RowSet> rows = Db::select(read);
        if (!rows)
            return DbResult(rows);
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QHash<QString, int> subjects = wanted.value(rows->value(row, 0).toLongLong());
            const auto at = subjects.constFind(rows->value(row, 1).toString());
            if (at != subjects.cend())
                scores[*at] = rows->value(row, 2).toDouble();
        }
    }
    return scores;
}

// The IDs of the class's students now.
DbValue<QSet<qint64>> StudentsOfClass(const QString& classCode)
{
    const DbValue<RowSet> rows =
        Db::select({QStringLiteral("Select ID from TStudent Where ClassCode = ?"), {classCode}});
    if (!rows)
        return DbResult(rows);
    QSet<qint64> ids;
    ids.reserve(rows->rowCount());
    for (int row = 0; row < rows->rowCount(); ++row)
        ids.insert(rows->value(row, 0).toLongLong());
    return ids;
}

// A cell's key (and score) as a row of a values list. The server takes an
// untyped value in a values list of its own for text, which no number
// compares with; the casts name the columns' types (SQLite takes them too).
const QString KeyTuple = QStringLiteral("(cast(? as bigint),?)");
const QString ScoreTuple = QStringLiteral("(cast(? as bigint),?,cast(? as double precision))");

// Every cell's row of the writes through one batched statement.
template <class Row> DbResult WriteEach(BatchedWrite write, const QVector<CellWrite>& writes, Row rowOf)
{
    for (const CellWrite& w : writes) {
        if (DbResult done = write.add(rowOf(w)); !done)
            return done;
    }
    return write.flush();
}

// Every row of each cell takes its new score.
DbResult Update(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return WriteEach({QStringLiteral("Update TGrade Set Score = w.column3 From (Values %1) As w "
                                     "Where TGrade.TermCode = ? And TGrade.ClassCode = ? "
                                     "And TGrade.StudentID = w.column1 And TGrade.SubjectCode = w.column2"),
                      ScoreTuple, 3, {}, {klass.termCode, klass.classCode}},
                     writes, [](const CellWrite& w) -> QVariantList {
                         return {w.cell.studentId, w.cell.subjectCode, *w.score};
                     });
}

// One row for each cell, in the order given.
DbResult Insert(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return WriteEach(
        {QStringLiteral("Insert into TGrade (TermCode, ClassCode, StudentID, SubjectCode, Score) Values %1"),
         QStringLiteral("(?,?,?,?,?)"), 5},
        writes, [&klass](const CellWrite& w) -> QVariantList {
            return {klass.termCode, klass.classCode, w.cell.studentId, w.cell.subjectCode, *w.score};
        });
}

// Every row of each cell goes.
DbResult Remove(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return WriteEach({QStringLiteral("Delete from TGrade Where TermCode = ? And ClassCode = ? "
                                     "And (StudentID, SubjectCode) in (Values %1)"),
                      KeyTuple, 2, {klass.termCode, klass.classCode}},
                     writes, [](const CellWrite& w) -> QVariantList {
                         return {w.cell.studentId, w.cell.subjectCode};
                     });
}

QVector<SheetCell> CellsOf(const QVector<CellWrite>& writes)
{
    QVector<SheetCell> cells;
    cells.reserve(writes.size());
    for (const CellWrite& w : writes)
        cells.append(w.cell);
    return cells;
}

SheetWrite Refused(Outcome outcome, int offending)
{
    SheetWrite refused;
    refused.outcome = outcome;
    refused.offending = offending;
    return refused;
}

// Every write of the sheet: reads what the cells hold, checks it against
// expected when given, writes, commits; all of it or nothing. Leaving early
// rolls back whatever was written.
DbValue<SheetWrite> Write(const SheetClass& klass, const QVector<CellWrite>& writes,
                          const QVector<CellScore>* expected)
{
    // The students' rows are locked first, as an initialisation of one of
    // them does, so the two take turns (on the file: the write lock at once).
    Transaction transaction(Transaction::Kind::Write);
    if (!transaction.isStarted())
        return DbResult::failed(QStringLiteral("no transaction"));
    QSet<qint64> students;
    for (const CellWrite& w : writes)
        students.insert(w.cell.studentId);
    if (!students.isEmpty()) {
        if (DbResult locked = transaction.lock(Roster::StudentRows(students.values()), false); !locked)
            return locked;
    }
    const DbValue<QVector<CellScore>> before = Read(klass, CellsOf(writes));
    if (!before)
        return DbResult(before);
    if (expected) {
        for (int i = 0; i < writes.size(); ++i)
            if (before->at(i) != expected->value(i))
                return Refused(Outcome::Changed, i);
    }
    // What each cell needs: its rows removed, updated, or a row added.
    QVector<CellWrite> removes, updates, inserts;
    for (int i = 0; i < writes.size(); ++i) {
        const CellWrite& w = writes.at(i);
        (!w.score ? removes : before->at(i) ? updates : inserts).append(w);
    }
    // A new row only for a student still in the class: one removed or moved
    // meanwhile would get a score nobody sees.
    if (!inserts.isEmpty()) {
        const DbValue<QSet<qint64>> roster = StudentsOfClass(klass.classCode);
        if (!roster)
            return DbResult(roster);
        for (int i = 0; i < writes.size(); ++i) {
            const CellWrite& w = writes.at(i);
            if (w.score && !before->at(i) && !roster->contains(w.cell.studentId))
                return Refused(Outcome::StudentGone, i);
        }
    }
    if (DbResult done = Remove(klass, removes); !done)
        return done;
    if (DbResult done = Update(klass, updates); !done)
        return done;
    if (DbResult done = Insert(klass, inserts); !done)
        return done;
    if (DbResult done = transaction.commit(); !done)
        return done;
    SheetWrite stored;
    stored.before = *before;
    return stored;
}

} // namespace

namespace ScoreSheet {

DbValue<SheetWrite> StoreScore(const SheetClass& klass, const SheetCell& cell, double score)
{
    return Write(klass, {CellWrite{cell, score}}, nullptr);
}

DbValue<SheetWrite> StoreScores(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return Write(klass, writes, nullptr);
}

DbValue<SheetWrite> ClearScores(const SheetClass& klass, const QVector<SheetCell>& cells)
{
    QVector<CellWrite> writes;
    writes.reserve(cells.size());
    for (const SheetCell& cell : cells)
        writes.append({cell, std::nullopt});
    return Write(klass, writes, nullptr);
}

DbValue<SheetWrite> StoreScoresIfUnchanged(const SheetClass& klass, const QVector<CellWrite>& writes,
                                           const QVector<CellScore>& expected)
{
    return Write(klass, writes, &expected);
}

DbValue<QVector<CellScore>> ReadStoredScores(const SheetClass& klass, const QVector<SheetCell>& cells)
{
    return Read(klass, cells);
}

} // namespace ScoreSheet
