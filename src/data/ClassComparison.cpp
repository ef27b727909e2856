#include "data/ClassComparison.h"

#include <QMap>
#include <cmath>

ClassComparison CompareClasses(const TermResults& term)
{
    ClassComparison comparison;
    comparison.termCode = term.termCode;
    QMap<QString, QString> names; // by code, so in code order
    for (const ClassResults& results : term.results)
        for (const PlanSubject& subject : results.subjects())
            names.insert(subject.code, subject.name);
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        comparison.subjects.append({it.key(), it.value()});

    std::vector<std::optional<qint64>> averages;
    for (size_t k = 0; k < term.results.size(); ++k) {
        const ClassResults& results = term.results[k];
        ClassComparison::Row row;
        row.klass = term.classes.at(int(k));
        for (const PlanSubject& subject : comparison.subjects) {
            const int j = results.indexOfSubject(subject.code);
            row.subjects.push_back(j >= 0 ? std::optional(SubjectFigures(results, j)) : std::nullopt);
        }
        row.total = TotalFigures(results);
        // The average as shown (two decimals) decides, so that equal shown averages share a place.
        averages.push_back(row.total.average ? std::optional<qint64>(std::llround(*row.total.average * 100.0))
                                             : std::nullopt);
        comparison.rows.push_back(std::move(row));
    }
    const Places places = CompetitionPlaces(averages);
    for (size_t k = 0; k < comparison.rows.size(); ++k)
        comparison.rows[k].place = places[k];
    return comparison;
}
