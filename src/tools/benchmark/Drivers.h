#pragma once

// The table of window drivers. Each driver measures the actions of one
// window (or of the start-up, or of the disk) through the Stage; a new
// window's driver is a file of its own, declared here and listed in the
// table in Drivers.cpp, whose order is the order of the report.
#include "tools/benchmark/Figures.h"

#include <vector>

namespace bench {

class Stage;
struct Options;

struct Driver {
    std::vector<Action> actions; // what it reports, in this order
    void (*measure)(Stage& stage);
    // Its figures are what the initialisations are judged against: it is
    // measured whenever one of them is.
    bool referenceForWrites = false;
};

extern const Driver StartUpDriver;
extern const Driver OpeningDriver;
extern const Driver StatisticsDriver;
extern const Driver AnalysisDriver;
extern const Driver GradeEntryDriver;
extern const Driver RosterDriver;
extern const Driver ClassToSubjectDriver;
extern const Driver TermToClassDriver;
extern const Driver HonoursDriver;
extern const Driver CommitDriver;
extern const Driver GradeInitialisationDriver;
extern const Driver HonoursInitialisationDriver;
extern const Driver QuickEntryDriver;
extern const Driver PrintDriver;
extern const Driver SheetsDriver;
extern const Driver GuideDriver;

const std::vector<const Driver*>& Drivers();
// True when --only names the action: its name contains the text, or there is none.
bool Wanted(const Options& options, const Action& action);
// The drivers that --only asks for, with the ones measured alongside them.
std::vector<const Driver*> WantedDrivers(const Options& options);

} // namespace bench
