#include "data/StudentHistory.h"

#include "data/GroupedResults.h"
#include "data/Places.h"
#include "data/RowReader.h"

#include <QHash>

namespace {

bool readStudent(StudentHistory& history)
{
    RowReader rows(QStringLiteral("Select SName, SNumber, ClassCode from TStudent Where ID = ?"),
                   {history.studentId});
    if (rows.next()) {
        history.name = rows.text(0);
        history.number = rows.text(1);
        history.classCode = rows.text(2);
    }
    return !rows.failed();
}

// The terms in which the student has any score under the class, with their
// names, oldest first.
bool readTerms(const StudentHistory& history, QVector<qint64>& codes, QHash<qint64, QString>& names)
{
    RowReader rows(QStringLiteral("Select TTerm.TermCode, TTerm.TermName from TTerm Where TTerm.TermCode in "
                                  "(Select TermCode from TGrade Where StudentID = ? And ClassCode = ?) "
                                  "Order by TTerm.TermCode"),
                   {history.studentId, history.classCode});
    while (rows.next()) {
        codes.append(rows.integer(0));
        names.insert(codes.last(), rows.text(1));
    }
    return !rows.failed();
}

} // namespace

std::optional<StudentHistory> LoadStudentHistory(qint64 studentId)
{
    StudentHistory history;
    history.studentId = studentId;
    if (!readStudent(history))
        return std::nullopt;
    if (history.classCode.isEmpty())
        return history;
    QVector<qint64> codes;
    QHash<qint64, QString> names;
    if (!readTerms(history, codes, names))
        return std::nullopt;
    const std::optional<std::vector<ClassResults>> terms = LoadClassInTerms(history.classCode, codes);
    if (!terms)
        return std::nullopt;
    for (const ClassResults& term : *terms) {
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
