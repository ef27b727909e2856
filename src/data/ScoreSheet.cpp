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
        const DbResult done = Db::selectEach(read, [&](const StreamRow& row) {
            const auto student = wanted.constFind(row.integer(0));
            if (student == wanted.cend())
                return;
            const auto at = student->constFind(row.text(1));
            if (at != student->cend())
                scores[*at] = row.real(2);
        });
        if (!done)
            return done;
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

// Cells per write statement: a block is written in a few statements rather
// than one per cell. Not more: on a server, Qt's driver names every "?",
// which costs with the square of a statement's values.
constexpr int CellsPerStatement = 50;

// "(?,?),(?,?)" for count rows of width values.
QString Tuples(int count, int width)
{
    const QString tuple = QLatin1Char('(') + PlaceMarks(width) + QLatin1Char(')');
    QStringList tuples;
    tuples.reserve(count);
    for (int i = 0; i < count; ++i)
        tuples << tuple;
    return tuples.join(QLatin1Char(','));
}

// Runs the statement of a chunk for every chunk of the writes: textFor(n)
// is the text for n cells, valuesFor(chunk) its values. The full chunks
// share their text and it is prepared once (parsing a block's statement
// costs more than running it); the rest has one of its own.
template <class Text, class Values>
DbResult InChunks(const QVector<CellWrite>& writes, Text textFor, Values valuesFor)
{
    const int whole = writes.size() / CellsPerStatement * CellsPerStatement;
    QVector<QVariantList> chunks;
    for (int first = 0; first < whole; first += CellsPerStatement)
        chunks.append(valuesFor(writes.mid(first, CellsPerStatement)));
    if (!chunks.isEmpty()) {
        if (DbResult done = Db::executeEach(textFor(CellsPerStatement), chunks); !done)
            return done;
    }
    if (whole == writes.size())
        return {};
    return Db::executeEach(textFor(writes.size() - whole), {valuesFor(writes.mid(whole))});
}

// Every row of each cell takes its new score.
DbResult Update(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return InChunks(
        writes,
        [](int cells) {
            return QStringLiteral("Update TGrade Set Score = w.column3 From (Values %1) As w "
                                  "Where TGrade.TermCode = ? And TGrade.ClassCode = ? "
                                  "And TGrade.StudentID = w.column1 And TGrade.SubjectCode = w.column2")
                .arg(Tuples(cells, 3));
        },
        [&klass](const QVector<CellWrite>& chunk) {
            QVariantList values;
            for (const CellWrite& w : chunk)
                values << w.cell.studentId << w.cell.subjectCode << *w.score;
            return values << klass.termCode << klass.classCode;
        });
}

// One row for each cell, in the order given.
DbResult Insert(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return InChunks(
        writes,
        [](int cells) {
            return QStringLiteral(
                       "Insert into TGrade (TermCode, ClassCode, StudentID, SubjectCode, Score) Values %1")
                .arg(Tuples(cells, 5));
        },
        [&klass](const QVector<CellWrite>& chunk) {
            QVariantList values;
            for (const CellWrite& w : chunk)
                values << klass.termCode << klass.classCode << w.cell.studentId << w.cell.subjectCode
                       << *w.score;
            return values;
        });
}

// Every row of each cell goes.
DbResult Remove(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return InChunks(
        writes,
        [](int cells) {
            return QStringLiteral("Delete from TGrade Where TermCode = ? And ClassCode = ? "
                                  "And (StudentID, SubjectCode) in (Values %1)")
                .arg(Tuples(cells, 2));
        },
        [&klass](const QVector<CellWrite>& chunk) {
            QVariantList values{klass.termCode, klass.classCode};
            for (const CellWrite& w : chunk)
                values << w.cell.studentId << w.cell.subjectCode;
            return values;
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
    Statement owners{QStringLiteral("select ID from TStudent where ID in (%1) order by ID")
                         .arg(QStringList(students.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                     {}};
    for (qint64 id : students)
        owners.values << id;
    if (!students.isEmpty()) {
        if (DbResult locked = transaction.lock(owners, false); !locked)
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
        const DbValue<QSet<qint64>> roster = Roster(klass.classCode);
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
