#include "tools/benchmark/Drivers.h"

#include "tools/benchmark/Benchmark.h"

#include <algorithm>

namespace bench {

const std::vector<const Driver*>& Drivers()
{
    static const std::vector<const Driver*> table{
        &StartUpDriver,
        &OpeningDriver,
        &StatisticsDriver,
        &AnalysisDriver,
        &GradeEntryDriver,
        &RosterDriver,
        &ClassToSubjectDriver,
        &TermToClassDriver,
        &HonoursDriver,
        &CommitDriver,
        &GradeInitialisationDriver,
        &HonoursInitialisationDriver,
        &QuickEntryDriver,
        &PrintDriver,
        &SheetsDriver,
        &GuideDriver,
    };
    return table;
}

bool Wanted(const Options& options, const Action& action)
{
    return options.only.isEmpty() || action.title().contains(options.only);
}

std::vector<const Driver*> WantedDrivers(const Options& options)
{
    const auto named = [&options](const Driver* driver) {
        return std::any_of(driver->actions.begin(), driver->actions.end(),
                           [&options](const Action& a) { return Wanted(options, a); });
    };
    const auto writes = [](const Driver* driver) {
        return std::any_of(driver->actions.begin(), driver->actions.end(),
                           [](const Action& a) { return a.kind == Kind::Write; });
    };
    bool anyWrite = false;
    for (const Driver* driver : Drivers())
        anyWrite = anyWrite || (named(driver) && writes(driver));
    std::vector<const Driver*> wanted;
    for (const Driver* driver : Drivers())
        if (named(driver) || (driver->referenceForWrites && anyWrite))
            wanted.push_back(driver);
    return wanted;
}

} // namespace bench
