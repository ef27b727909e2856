#pragma once

// What each kind of action must reach, and whether it did.
#include "tools/benchmark/Figures.h"

namespace bench {

constexpr double kFrameMs = 16.0;
constexpr double kStartUpMs = 500.0;
constexpr double kSurveyMs = 50.0;
constexpr double kPrintMs = 300.0;
constexpr double kPrintBatchMs = 1000.0;
constexpr double kGlanceMs = 5.0;
constexpr double kGrowthLimit = 1.5;
// What reads every term grows with the terms, at most in proportion.
constexpr double kHistoryGrowthLimit = 5.0;
// Below this a difference is the scheduler's and the timer's, not the action's.
constexpr double kNoiseMs = 1.0;

// An action's figure against its target: the target's text, and whether it was met.
struct Verdict {
    QString target;
    bool met = true;
};

// The commit the initialisations are judged against, if it was measured.
const Result* CommitReference(const Results& results);
// A school of factor times the base's terms: what reads every term may take
// a frame per base school's worth of terms.
Verdict Judge(const Result& result, const Result* reference, int factor);
bool TargetsMet(const Results& results, int factor);
// With more history an action may take 1.5 times its base figure (a
// history five times), or 1 ms more.
double GrowthLimit(const Result& result);
bool GrewWithinLimit(const Result& base, const Result& larger);

} // namespace bench
