#include "data/ScoreSheet.h"

#include "data/QueryObject.h"
#include "data/uDM.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

using Outcome = SheetWrite::Outcome;

// The statements of one call, each prepared once and run per cell.
class SheetStatements {
public:
    explicit SheetStatements(const SheetClass& klass) : m_class(klass) {}

    // The cells' scores, read student by student: one indexed read gives a
    // student's whole term, and a block is mostly whole students.
    std::optional<QVector<CellScore>> read(const QVector<SheetCell>& cells)
    {
        QHash<qint64, QVector<int>> byStudent;
        for (int i = 0; i < cells.size(); ++i)
            byStudent[cells.at(i).studentId].append(i);
        QSqlQuery& q = prepared(m_read, "Select SubjectCode, Score from TGrade "
                                        "Where TermCode = ? And ClassCode = ? And StudentID = ? Order by ID");
        QVector<CellScore> scores(cells.size());
        for (auto it = byStudent.cbegin(); it != byStudent.cend(); ++it) {
            bind(q, {m_class.termCode, m_class.classCode, it.key()});
            if (!q.exec())
                return std::nullopt;
            QHash<QString, double> bySubject; // the later row of a subject counts
            while (q.next())
                bySubject.insert(q.value(0).toString(), q.value(1).toDouble());
            if (q.lastError().isValid())
                return std::nullopt;
            q.finish();
            for (int i : it.value()) {
                const auto found = bySubject.constFind(cells.at(i).subjectCode);
                if (found != bySubject.cend())
                    scores[i] = *found;
            }
        }
        return scores;
    }

    bool update(const SheetCell& cell, double score)
    {
        QSqlQuery& q = prepared(m_update, "Update TGrade Set Score = ? Where TermCode = ? And ClassCode = ? "
                                          "And StudentID = ? And SubjectCode = ?");
        bind(q, {score, m_class.termCode, m_class.classCode, cell.studentId, cell.subjectCode});
        return q.exec();
    }

    bool insert(const SheetCell& cell, double score)
    {
        QSqlQuery& q =
            prepared(m_insert, "Insert into TGrade (TermCode, ClassCode, StudentID, SubjectCode, Score) "
                               "Values (?, ?, ?, ?, ?)");
        bind(q, {m_class.termCode, m_class.classCode, cell.studentId, cell.subjectCode, score});
        return q.exec();
    }

    bool remove(const SheetCell& cell)
    {
        QSqlQuery& q = prepared(m_remove, "Delete from TGrade Where TermCode = ? And ClassCode = ? "
                                          "And StudentID = ? And SubjectCode = ?");
        bind(q, {m_class.termCode, m_class.classCode, cell.studentId, cell.subjectCode});
        return q.exec();
    }

    // Whether the student is on the class's roster; nullopt when the read failed.
    std::optional<bool> onRoster(qint64 student)
    {
        const auto known = m_onRoster.constFind(student);
        if (known != m_onRoster.cend())
            return *known;
        QSqlQuery& q = prepared(m_roster, "Select 1 from TStudent Where ID = ? And ClassCode = ?");
        bind(q, {student, m_class.classCode});
        if (!q.exec())
            return std::nullopt;
        const bool found = q.next();
        if (q.lastError().isValid())
            return std::nullopt;
        q.finish(); // no read left open when the transaction commits
        m_onRoster.insert(student, found);
        return found;
    }

private:
    QSqlQuery& prepared(std::optional<QSqlQuery>& slot, const char* sql)
    {
        if (!slot) {
            slot.emplace(DM->ADOLocal());
            slot->setForwardOnly(true);
            slot->prepare(QString::fromLatin1(sql));
        }
        return *slot;
    }

    static void bind(QSqlQuery& q, const QVariantList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
    }

    SheetClass m_class;
    std::optional<QSqlQuery> m_read, m_update, m_insert, m_remove, m_roster;
    QHash<qint64, bool> m_onRoster;
};

QVector<SheetCell> cellsOf(const QVector<CellWrite>& writes)
{
    QVector<SheetCell> cells;
    cells.reserve(writes.size());
    for (const CellWrite& w : writes)
        cells.append(w.cell);
    return cells;
}

// Every write of the sheet: reads what the cells hold, checks it against
// expected when given, writes, commits; all of it or nothing.
SheetWrite write(const SheetClass& klass, const QVector<CellWrite>& writes,
                 const QVector<CellScore>* expected)
{
    SheetWrite result;
    Transaction transaction;
    if (!transaction.isStarted())
        return result;
    SheetStatements statements(klass);
    const std::optional<QVector<CellScore>> before = statements.read(cellsOf(writes));
    if (!before)
        return result;
    if (expected) {
        for (int i = 0; i < writes.size(); ++i) {
            if (before->at(i) != expected->value(i)) {
                result.outcome = Outcome::Changed;
                result.offending = i;
                return result;
            }
        }
    }
    for (int i = 0; i < writes.size(); ++i) {
        const CellWrite& w = writes.at(i);
        if (!w.score) {
            if (!statements.remove(w.cell))
                return result;
        } else if (before->at(i)) {
            if (!statements.update(w.cell, *w.score))
                return result;
        } else {
            // A new row only for a student still in the class: one removed
            // or moved meanwhile would get a score nobody sees.
            const std::optional<bool> onRoster = statements.onRoster(w.cell.studentId);
            if (!onRoster)
                return result;
            if (!*onRoster) {
                result.outcome = Outcome::StudentGone;
                result.offending = i;
                return result;
            }
            if (!statements.insert(w.cell, *w.score))
                return result;
        }
    }
    if (!transaction.commit())
        return result;
    result.outcome = Outcome::Stored;
    result.before = *before;
    return result;
}

} // namespace

SheetWrite StoreScore(const SheetClass& klass, const SheetCell& cell, double score)
{
    return write(klass, {CellWrite{cell, score}}, nullptr);
}

SheetWrite StoreScores(const SheetClass& klass, const QVector<CellWrite>& writes)
{
    return write(klass, writes, nullptr);
}

SheetWrite ClearScores(const SheetClass& klass, const QVector<SheetCell>& cells)
{
    QVector<CellWrite> writes;
    writes.reserve(cells.size());
    for (const SheetCell& cell : cells)
        writes.append({cell, std::nullopt});
    return write(klass, writes, nullptr);
}

SheetWrite StoreScoresIfUnchanged(const SheetClass& klass, const QVector<CellWrite>& writes,
                                  const QVector<CellScore>& expected)
{
    return write(klass, writes, &expected);
}

std::optional<QVector<CellScore>> ReadStoredScores(const SheetClass& klass, const QVector<SheetCell>& cells)
{
    if (!DM || !DM->ensureOpen())
        return std::nullopt;
    SheetStatements statements(klass);
    return statements.read(cells);
}
