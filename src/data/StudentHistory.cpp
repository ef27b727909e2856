#include "data/StudentHistory.h"

#include "data/GroupedResults.h"
#include "data/Places.h"
#include "data/Roster.h"
#include "data/Scores.h"

#include <QHash>

DbValue<StudentHistory> LoadStudentHistory(qint64 studentId)
{
    StudentHistory history;
    history.studentId = studentId;
    const DbValue<std::optional<Roster::Student>> student = Roster::FindStudent(int(studentId));
    if (!student)
        return DbResult(student);
    if (!*student)
        return history;
    history.name = (*student)->SName;
    history.number = (*student)->SNumber;
    history.classCode = (*student)->ClassCode;

    // The terms in which the student has any score under the class, oldest first.
    QVector<qint64> codes;
    QHash<qint64, QString> names;
    const DbResult terms =
        Db::selectEach(Scores::TermsWithScores(studentId, history.classCode), [&](const StreamRow& row) {
            codes.append(row.integer(0));
            names.insert(codes.last(), row.text(1));
        });
    if (!terms)
        return terms;
    const DbValue<std::vector<ClassResults>> results = LoadClassInTerms(history.classCode, codes);
    if (!results)
        return DbResult(results);
    for (const ClassResults& term : *results) {
        const int student = term.indexOfStudent(studentId);
        const Places places = TermPlaces(term);
        if (student < 0 || !places.at(student))
            continue; // only scores outside the term's plan
        int ranked = 0;
        for (const Place& place : places)
            ranked += place ? 1 : 0;
        history.terms.append({term.termCode(), names.value(term.termCode()), term.total(student),
                              *places.at(student), ranked});
    }
    return history;
}
