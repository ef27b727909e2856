#include "data/Marks.h"

#include <cmath>
#include <cstddef>

namespace Marks {

double OneDecimal(double value)
{
    const double shown = std::round(value * 10.0) / 10.0;
    return shown == 0 ? 0.0 : shown; // no "-0.0"
}

double Total(const std::vector<double>& shownScores)
{
    double sum = 0;
    for (double score : shownScores)
        sum += score;
    return OneDecimal(sum);
}

bool Fails(double shownScore)
{
    return shownScore < PassMark;
}

bool HasFailingScore(const std::vector<double>& shownScores)
{
    for (double score : shownScores)
        if (Fails(score))
            return true;
    return false;
}

bool ReachesStandard(double shownScore, double threshold)
{
    return shownScore >= threshold;
}

bool ReachesEveryStandard(const std::vector<double>& shownScores, const std::vector<double>& thresholds)
{
    for (std::size_t i = 0; i < shownScores.size(); ++i)
        if (!ReachesStandard(shownScores[i], i < thresholds.size() ? thresholds[i] : 0.0))
            return false;
    return true;
}

bool ImprovedMuch(double shownTotal, double shownPreviousTotal)
{
    return shownTotal != 0 && shownPreviousTotal != 0 && shownPreviousTotal < shownTotal &&
           shownTotal / shownPreviousTotal > ProgressRatio;
}

} // namespace Marks
