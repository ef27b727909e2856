#pragma once

#include "data/ClassResults.h"

#include <QString>
#include <optional>
#include <vector>

using Place = std::optional<int>; // none: the value takes no place
using Places = std::vector<Place>;

// Places by value, highest first: equal values share a place and the next
// place skips (1, 2, 2, 4). An entry without a value takes no place.
Places CompetitionPlaces(const std::vector<std::optional<qint64>>& values);

// A term's places (名次) of a class's students by their 总分 as the
// statistics table shows it, among the students with at least one score in
// the term; indexed by student.
Places TermPlaces(const ClassResults& results);

// The places of the current students in another reading of the class (the
// previous term's), indexed by the current reading's students; none for a
// student who is not in it or has no place there.
Places PlacesOfStudents(const ClassResults& current, const ClassResults& other);

// "3", or "—" without a place.
QString PlaceText(const Place& place);
// The change against the earlier place: "↑3" three places better, "↓2" two
// worse, "0" unchanged, "—" without an earlier (or a current) place.
QString PlaceChangeText(const Place& now, const Place& before);
