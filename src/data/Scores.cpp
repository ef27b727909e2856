#include "data/Scores.h"

#include "data/Plan.h"

namespace Scores {

const ScoreTable& Grades()
{
    static const ScoreTable table{QStringLiteral("TGrade"), QStringLiteral("StudentID"), 0};
    return table;
}

const ScoreTable& Standards()
{
    static const ScoreTable table{QStringLiteral("THonoursStd"), QString(), 85};
    return table;
}

namespace {

bool owned(const ScoreRows& rows)
{
    return !rows.table->ownerColumn.isEmpty();
}

// The columns of a score row besides its ID.
QStringList columnsOf(const ScoreTable& table)
{
    QStringList columns{QStringLiteral("TermCode"), QStringLiteral("ClassCode")};
    if (!table.ownerColumn.isEmpty())
        columns << table.ownerColumn;
    columns << QStringLiteral("SubjectCode") << QStringLiteral("Score");
    return columns;
}

// The row that every writer of the owner's scores locks first.
Statement ownerRow(const ScoreRows& rows)
{
    if (!rows.table->ownerColumn.isEmpty())
        return {QStringLiteral("select ID from TStudent where ID=?"), {rows.ownerId}};
    return {QStringLiteral("select ID from TClass where ClassCode=?"), {rows.classCode}};
}

// " And <owner>=?" for rows a student owns, with its value.
QString ownerCondition(const ScoreRows& rows, QVariantList& values)
{
    if (!owned(rows))
        return {};
    values << rows.ownerId;
    return QStringLiteral(" And %1.%2=?").arg(rows.table->table, rows.table->ownerColumn);
}

} // namespace

Statement List(const ScoreRows& rows)
{
    Statement list;
    list.values << rows.termCode << rows.classCode;
    const QString owner = ownerCondition(rows, list.values);
    list.text =
        QStringLiteral("SELECT %1.ID,%1.ClassCode,%1.SubjectCode,TSubject.SubjName,%1.Score from %1,TSubject "
                       "where %1.SubjectCode=TSubject.SubjCode And %1.TermCode=? And %1.ClassCode=?%2 "
                       "Order by %1.SubjectCode")
            .arg(rows.table->table, owner);
    return list;
}

DbValue<Initialised> Initialise(const ScoreRows& rows, bool emptyPlanKeepsRows)
{
    // All or nothing: rows half-replaced would pass for a finished
    // initialisation. Leaving early rolls every statement back.
    Transaction transaction(Transaction::Kind::Write);
    if (!transaction.isStarted())
        return DbResult::failed(QStringLiteral("no transaction"));
    if (DbResult locked = transaction.lock(ownerRow(rows)); !locked)
        return locked;
    // The plan is read first so that an empty plan that must keep the rows
    // never runs the delete at all.
    const DbValue<QStringList> plan = Plan::SubjectCodes(rows.termCode, rows.classCode);
    if (!plan)
        return DbResult(plan);
    if (plan->isEmpty() && emptyPlanKeepsRows)
        return Initialised::PlanEmpty;

    const QString& t = rows.table->table;
    Statement remove{QStringLiteral("Delete from %1 Where TermCode=? And ClassCode=?").arg(t),
                     {rows.termCode, rows.classCode}};
    remove.text += ownerCondition(rows, remove.values);
    if (DbResult done = Db::execute(remove); !done)
        return done;

    // One row per planned subject, in the plan's order, all in one statement:
    // on a server every statement is a round trip.
    const QString ownerColumn = owned(rows) ? rows.table->ownerColumn + QLatin1Char(',') : QString();
    const QString ownerMark = owned(rows) ? QStringLiteral("?,") : QString();
    Statement insert;
    QStringList tuples;
    for (const QString& subjCode : *plan) {
        tuples << QStringLiteral("(?,?,%1?,?)").arg(ownerMark);
        insert.values << rows.termCode << rows.classCode;
        if (owned(rows))
            insert.values << rows.ownerId;
        insert.values << subjCode << rows.table->initialScore;
    }
    insert.text = QStringLiteral("Insert into %1 (TermCode,ClassCode,%2SubjectCode,Score) Values %3")
                      .arg(t, ownerColumn, tuples.join(QLatin1Char(',')));
    if (!plan->isEmpty()) {
        if (DbResult done = Db::execute(insert); !done)
            return done;
    }
    if (DbResult done = transaction.commit(); !done)
        return done;
    return Initialised::Done;
}

DbValue<std::optional<Record>> Find(const ScoreTable& table, int id)
{
    const QStringList columns = columnsOf(table);
    const DbValue<RowSet> read =
        Db::select({QStringLiteral("Select %1.ID,%1.%2,TSubject.SubjName from %1,TSubject Where "
                                   "%1.SubjectCode=TSubject.SubjCode And %1.ID=?")
                        .arg(table.table, columns.join(QStringLiteral(",%1.").arg(table.table))),
                    {id}});
    if (!read)
        return DbResult(read);
    if (read->isEmpty())
        return std::optional<Record>();
    return std::optional<Record>(
        Record{read->text(0, QStringLiteral("SubjectCode")), read->text(0, QStringLiteral("SubjName")),
               read->value(0, QStringLiteral("Score")).toDouble(), read->image(0, columns)});
}

DbResult StoreScore(const ScoreTable& table, const RowImage& read, double score)
{
    return Db::updateRow(table.table, read, {{QStringLiteral("Score"), score}});
}

Statement TermGrades(int termCode, const QString& classCode)
{
    Statement read{
        QStringLiteral("Select ID,ClassCode,StudentID,SubjectCode,Score from TGrade Where TermCode=?"),
        {termCode}};
    if (!classCode.isEmpty()) {
        read.text += QStringLiteral(" And ClassCode=?");
        read.values << classCode;
    }
    return read;
}

// The casts name the columns' types for the server, which takes an untyped
// value of a values list of its own as text (SQLite takes them too).
GradeWriter::GradeWriter()
    : m_updates(QStringLiteral("Update TGrade Set Score = w.column2 From (Values %1) As w "
                               "Where TGrade.ID = w.column1"),
                QStringLiteral("(cast(? as bigint),cast(? as double precision))"), 2),
      m_inserts(
          QStringLiteral("Insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) Values %1"),
          QStringLiteral("(?,?,?,?,?)"), 5)
{
}

DbResult GradeWriter::setScore(qint64 id, double score)
{
    return m_updates.add({id, score});
}

DbResult GradeWriter::insert(int termCode, const QString& classCode, int studentId,
                             const QString& subjectCode, double score)
{
    return m_inserts.add({termCode, classCode, studentId, subjectCode, score});
}

DbResult GradeWriter::flush()
{
    if (DbResult done = m_updates.flush(); !done)
        return done;
    return m_inserts.flush();
}

Statement OfTerm(int termCode)
{
    return {QStringLiteral("Select ClassCode, StudentID, SubjectCode, Score from TGrade "
                           "Where TermCode = ? Order by ClassCode, StudentID, SubjectCode, ID"),
            {termCode}};
}

Statement OfClassInTerms(const QString& classCode, const QVector<qint64>& terms)
{
    Statement read{QStringLiteral("Select TermCode, StudentID, SubjectCode, Score from TGrade "
                                  "Where ClassCode = ? And TermCode in (%1) "
                                  "Order by TermCode, StudentID, SubjectCode, ID")
                       .arg(Placeholders(terms.size())),
                   {classCode}};
    for (qint64 term : terms)
        read.values << term;
    return read;
}

Statement StandardsOfTerm(int termCode)
{
    return {QStringLiteral("Select ClassCode, SubjectCode, Score from THonoursStd Where TermCode = ? "
                           "Order by ClassCode, SubjectCode, ID"),
            {termCode}};
}

Statement TermsWithScores(qint64 studentId, const QString& classCode)
{
    return {QStringLiteral("Select TermCode, TermName from TTerm Where TermCode in "
                           "(Select TermCode from TGrade Where StudentID = ? And ClassCode = ?) "
                           "Order by TermCode"),
            {studentId, classCode}};
}

} // namespace Scores
