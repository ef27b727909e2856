#include "data/Places.h"

#include "data/Figures.h"

#include <algorithm>

Places CompetitionPlaces(const std::vector<std::optional<qint64>>& values)
{
    std::vector<size_t> order;
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i])
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return *values[a] > *values[b]; });
    Places places(values.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const bool tied = k > 0 && *values[order[k]] == *values[order[k - 1]];
        places[order[k]] = tied ? places[order[k - 1]] : Place(int(k) + 1);
    }
    return places;
}

Places TermPlaces(const ClassResults& results)
{
    std::vector<std::optional<qint64>> totals(results.studentCount());
    for (int s = 0; s < results.studentCount(); ++s)
        if (HasAnyScore(results, s))
            totals[s] = Tenths(results.total(s));
    return CompetitionPlaces(totals);
}

Places PlacesOfStudents(const ClassResults& current, const ClassResults& other)
{
    const Places otherPlaces = TermPlaces(other);
    Places places(current.studentCount());
    for (int s = 0; s < current.studentCount(); ++s) {
        const int there = other.indexOfStudent(current.students().at(s).id);
        if (there >= 0)
            places[s] = otherPlaces.at(there);
    }
    return places;
}

QString PlaceText(const Place& place)
{
    return place ? QString::number(*place) : QStringLiteral("—");
}

QString PlaceChangeText(const Place& now, const Place& before)
{
    if (!now || !before)
        return QStringLiteral("—");
    const int better = *before - *now;
    if (better > 0)
        return QStringLiteral("↑") + QString::number(better);
    if (better < 0)
        return QStringLiteral("↓") + QString::number(-better);
    return QStringLiteral("0");
}
