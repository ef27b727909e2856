#include "data/SchoolProgress.h"

#include "data/Database.h"
#include "data/LockWait.h"
#include "data/uDM.h"

namespace {

// Long enough for another program's commit, short enough not to be noticed
// after the window that was closed.
constexpr int kGlanceWaitMs = 250;

} // namespace

bool SchoolProgress::isEmpty() const
{
    return terms == 0 && subjects == 0 && classes == 0 && termClasses == 0 && classSubjects == 0 &&
           students == 0 && standards == 0 && !hasScores && !named;
}

DbValue<SchoolProgress> ReadSchoolProgress()
{
    // Counting through an index walks its pages, not its rows; the scores
    // are asked for one row only. The answer is a whole number on every
    // engine, not a truth value that one of them would spell differently.
    static const Statement statement{
        QStringLiteral("select (select count(*) from TTerm), (select count(*) from TSubject),"
                       " (select count(*) from TClass), (select count(*) from TTermToClass),"
                       " (select count(*) from TClassToSubject), (select count(*) from TStudent),"
                       " (select count(*) from THonoursStd),"
                       " (select count(*) from (select 1 from TGrade limit 1) as AnyScore),"
                       " (select count(*) from TSchool where SchoolName <> '')"),
        {}};
    if (!DM)
        return DbResult::failed(QStringLiteral("no data module"));
    if (!DM->ensureOpen())
        return DbResult::failed(DM->lastError());
    const LockWait::ScopedLimit briefly(DM->ADOLocal(), kGlanceWaitMs);
    const DbValue<RowSet> read = Db::select(statement);
    if (!read)
        return DbResult(read);
    if (read->rowCount() != 1 || read->fieldCount() != 9)
        return DbResult::failed(QStringLiteral("the school's progress read no row"));
    const auto count = [&read](int column) { return read->value(0, column).toLongLong(); };
    SchoolProgress progress;
    progress.terms = count(0);
    progress.subjects = count(1);
    progress.classes = count(2);
    progress.termClasses = count(3);
    progress.classSubjects = count(4);
    progress.students = count(5);
    progress.standards = count(6);
    progress.hasScores = count(7) > 0;
    progress.named = count(8) > 0;
    return progress;
}
