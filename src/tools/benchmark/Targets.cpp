#include "tools/benchmark/Targets.h"

#include <algorithm>

namespace bench {

const Result* CommitReference(const Results& results)
{
    return Find(results, Kind::Reference, QStringLiteral("one-row"));
}

Verdict Judge(const Result& f, const Result* reference, int factor)
{
    Verdict v;
    switch (f.kind) {
    case Kind::StartUp:
        v.target = QStringLiteral("< 500");
        v.met = f.median < kStartUpMs && f.max < kStartUpMs;
        break;
    case Kind::Read:
        v.target = QStringLiteral("median <= 16");
        v.met = f.median <= kFrameMs;
        break;
    case Kind::History:
        v.target = QStringLiteral("median <= %1").arg(kFrameMs * factor);
        v.met = f.median <= kFrameMs * factor;
        break;
    case Kind::Survey:
        v.target = QStringLiteral("median <= 50");
        v.met = f.median <= kSurveyMs;
        break;
    case Kind::Print:
        v.target = QStringLiteral("median <= 300");
        v.met = f.median <= kPrintMs;
        break;
    case Kind::PrintBatch:
        v.target = QStringLiteral("median <= 1000");
        v.met = f.median <= kPrintBatchMs;
        break;
    case Kind::Glance:
        v.target = QStringLiteral("median <= 5");
        v.met = f.median <= kGlanceMs;
        break;
    case Kind::Write:
        if (reference) {
            const double over = f.median - reference->median;
            v.target = QStringLiteral("commit + %1 (+%2)").arg(f.slackMs).arg(over, 0, 'f', 2);
            v.met = over <= f.slackMs;
        }
        break;
    case Kind::Reference:
        v.target = QStringLiteral("(reference)");
        break;
    case Kind::Bounded:
        v.target = QStringLiteral("median <= %1").arg(f.slackMs);
        v.met = f.median <= f.slackMs;
        break;
    }
    if (f.faulty) {
        v.met = false;
        v.target += QStringLiteral(" [unreliable: see warnings]");
    }
    return v;
}

bool TargetsMet(const Results& results, int factor)
{
    const Result* reference = CommitReference(results);
    return std::all_of(results.begin(), results.end(),
                       [reference, factor](const Result& r) { return Judge(r, reference, factor).met; });
}

double GrowthLimit(const Result& result)
{
    return result.kind == Kind::History ? kHistoryGrowthLimit : kGrowthLimit;
}

bool GrewWithinLimit(const Result& base, const Result& larger)
{
    const double ratio = base.median > 0 ? larger.median / base.median : 0;
    return ratio <= GrowthLimit(base) || larger.median - base.median <= kNoiseMs;
}

} // namespace bench
