#pragma once

#include <vector>

// The marking rules of the statistics table, on the numbers as the table
// shows them (one decimal): a score of 59.96 shows as 60.0 and passes.
namespace Marks {

inline constexpr double PassMark = 60.0;
// A total must grow by more than this factor to count as much progress.
inline constexpr double ProgressRatio = 1.1;

// A number as the table shows it: one decimal, halves away from zero.
double OneDecimal(double value);

// The total of a row as shown: the sum of its shown scores, shown.
double Total(const std::vector<double>& shownScores);

// A score below the pass mark fails; so does a missing one, which counts 0.
bool Fails(double shownScore);
bool HasFailingScore(const std::vector<double>& shownScores);

// One score reaches its subject's honours threshold.
bool ReachesStandard(double shownScore, double threshold);

// Every score reaches its subject's honours standard (a subject without a
// standard has the threshold 0). A row without subjects reaches them all.
// thresholds holds one entry per score.
bool ReachesEveryStandard(const std::vector<double>& shownScores, const std::vector<double>& thresholds);

// The total grew by more than a tenth against the previous term's; a total
// of 0 on either side never counts.
bool ImprovedMuch(double shownTotal, double shownPreviousTotal);

} // namespace Marks
