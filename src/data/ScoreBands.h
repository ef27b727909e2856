#pragma once

#include "data/ClassResults.h"

#include <QString>
#include <vector>

// The spread of a class's scores over the score bands 0–59, 60–69, 70–79,
// 80–89, 90–100, and "100以上" when any score is above 100, on the scores
// as the table shows them (59.9 is in 0–59, 100.0 in 90–100). It counts the
// students the figures count (Figures.h).
struct ScoreBand {
    QString label;
    int count = 0;
};

struct BandSpread {
    std::vector<ScoreBand> bands;
    int sat = 0; // the students counted
};

BandSpread SubjectSpread(const ClassResults& results, int subject);
// 总分 spreads over the same bands of the full marks of the plan: each bound
// times the number of subjects (with 12 subjects 0–719, 720–839, ...,
// 1080–1200, "1200以上"), since a total is the sum of that many scores.
BandSpread TotalSpread(const ClassResults& results);
