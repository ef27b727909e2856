#include "data/PlanSubjects.h"

#include "data/Reading.h"

std::optional<QVector<PlanSubject>> ReadPlanSubjects(qint64 termCode, const QString& classCode)
{
    std::optional<QSqlQuery> rows = SelectRows(
        QStringLiteral("Select TClassToSubject.SubjCode, TSubject.SubjName "
                       "from TClassToSubject join TSubject on TSubject.SubjCode = TClassToSubject.SubjCode "
                       "Where TClassToSubject.TermCode = ? And TClassToSubject.ClassCode = ? "
                       "Order by TClassToSubject.SubjCode"),
        {termCode, classCode});
    if (!rows)
        return std::nullopt;
    QVector<PlanSubject> subjects;
    while (rows->next())
        subjects.append({rows->value(0).toString(), rows->value(1).toString()});
    if (!ReadToTheEnd(*rows))
        return std::nullopt;
    return subjects;
}
