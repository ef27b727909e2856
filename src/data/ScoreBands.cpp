#include "data/ScoreBands.h"

#include "data/Figures.h"

#include <iterator>

namespace {

// The lower bounds of the bands after the first, in tenths of a single
// score; the band from 90 includes 100, above 100 is a band of its own.
constexpr qint64 kBounds[] = {600, 700, 800, 900};
constexpr qint64 kFull = 1000;

BandSpread spread(const std::vector<qint64>& tenths, int scale)
{
    // Labels in whole points of the column: a single score's bounds times the scale.
    const auto points = [scale](qint64 tenthsOfOne) { return QString::number(tenthsOfOne / 10 * scale); };
    const QString dash = QStringLiteral("–");
    BandSpread result;
    result.sat = int(tenths.size());
    qint64 from = 0;
    for (qint64 bound : kBounds) {
        result.bands.push_back({points(from) + dash + QString::number(bound / 10 * scale - 1), 0});
        from = bound;
    }
    result.bands.push_back({points(from) + dash + points(kFull), 0});
    const size_t above = result.bands.size();
    for (qint64 value : tenths) {
        size_t band = 0;
        if (value > kFull * scale)
            band = above;
        else
            while (band < std::size(kBounds) && value >= kBounds[band] * scale)
                ++band;
        if (band == above && result.bands.size() == above)
            result.bands.push_back({points(kFull) + QStringLiteral("以上"), 0});
        ++result.bands[band].count;
    }
    return result;
}

} // namespace

BandSpread SubjectSpread(const ClassResults& results, int subject)
{
    std::vector<qint64> tenths;
    for (int s = 0; s < results.studentCount(); ++s)
        if (results.score(s, subject))
            tenths.push_back(Tenths(results.shownScore(s, subject)));
    return spread(tenths, 1);
}

BandSpread TotalSpread(const ClassResults& results)
{
    std::vector<qint64> tenths;
    for (int s = 0; s < results.studentCount(); ++s)
        if (HasAnyScore(results, s))
            tenths.push_back(Tenths(results.total(s)));
    return spread(tenths, qMax(1, results.subjectCount()));
}
