#include "data/ScoreSheet.h"

#include "data/Database.h"

#include <QHash>
#include <QSet>

namespace {

using Outcome = SheetWrite::Outcome;

// Students per read: well below SQLite's limit of bound values.
constexpr int StudentsPerRead = 500;

QString PlaceMarks(int count)
{
    QString marks = QStringLiteral("?");
    marks.reserve(2 * count);
    for (int i = 1; i < count; ++i)
        marks += QStringLiteral(",?");
    return marks;
}

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
                .arg(PlaceMarks(count)),
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
DbValue<QSet<qint64>> Roster(const QString& classCode)
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

DbResult Update(const SheetClass& klass, const SheetCell& cell, double score)
{
    return Db::execute({QStringLiteral("Update TGrade Set Score = ? Where TermCode = ? And ClassCode = ? "
                                       "And StudentID = ? And SubjectCode = ?"),
                        {score, klass.termCode, klass.classCode, cell.studentId, cell.subjectCode}});
}

DbResult Insert(const SheetClass& klass, const SheetCell& cell, double score)
{
    return Db::insertRow(QStringLiteral("TGrade"), {{QStringLiteral("TermCode"), klass.termCode},
                                                    {QStringLiteral("ClassCode"), klass.classCode},
                                                    {QStringLiteral("StudentID"), cell.studentId},
                                                    {QStringLiteral("SubjectCode"), cell.subjectCode},
                                                    {QStringLiteral("Score"), score}});
}

DbResult Remove(const SheetClass& klass, const SheetCell& cell)
{
    return Db::execute({QStringLiteral("Delete from TGrade Where TermCode = ? And ClassCode = ? "
                                       "And StudentID = ? And SubjectCode = ?"),
                        {klass.termCode, klass.classCode, cell.studentId, cell.subjectCode}});
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
    Transaction transaction;
    if (!transaction.isStarted())
        return DbResult::failed(QStringLiteral("no transaction"));
    const DbValue<QVector<CellScore>> before = Read(klass, CellsOf(writes));
    if (!before)
        return DbResult(before);
    if (expected) {
        for (int i = 0; i < writes.size(); ++i)
            if (before->at(i) != expected->value(i))
                return Refused(Outcome::Changed, i);
    }
    std::optional<QSet<qint64>> roster; // read with the first row to be added
    for (int i = 0; i < writes.size(); ++i) {
        const CellWrite& w = writes.at(i);
        if (!w.score) {
            if (DbResult done = Remove(klass, w.cell); !done)
                return done;
            continue;
        }
        if (before->at(i)) {
            if (DbResult done = Update(klass, w.cell, *w.score); !done)
                return done;
            continue;
        }
        // A new row only for a student still in the class: one removed or
        // moved meanwhile would get a score nobody sees.
        if (!roster) {
            const DbValue<QSet<qint64>> ids = Roster(klass.classCode);
            if (!ids)
                return DbResult(ids);
            roster = *ids;
        }
        if (!roster->contains(w.cell.studentId))
            return Refused(Outcome::StudentGone, i);
        if (DbResult done = Insert(klass, w.cell, *w.score); !done)
            return done;
    }
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
