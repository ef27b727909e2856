#include "data/PlanSubjects.h"

#include "data/Plan.h"

DbValue<QVector<PlanSubject>> ReadPlanSubjects(qint64 termCode, const QString& classCode)
{
    // Term codes are 32-bit numbers in the file.
    const DbValue<RowSet> rows = Db::select(Plan::Subjects(static_cast<int>(termCode), classCode));
    if (!rows)
        return DbResult(rows);
    const int code = rows->indexOf(QStringLiteral("SubjCode"));
    const int name = rows->indexOf(QStringLiteral("SubjName"));
    QVector<PlanSubject> subjects;
    subjects.reserve(rows->rowCount());
    for (int row = 0; row < rows->rowCount(); ++row)
        subjects.append({rows->value(row, code).toString(), rows->value(row, name).toString()});
    return subjects;
}
