#pragma once

#include <QString>
#include <vector>

// The whole-school benchmark: builds a school of realistic shape in a folder
// of its own and times every user action that waits on the database through
// the real windows, as a user would cause it (clicks, keys, buttons, menu
// items), up to the moment the result is painted.
namespace bench {

struct Options {
    std::vector<int> termFactors{1}; // one school per factor: 20 terms times the factor
    int runs = 25;                   // repetitions of each action
    int rounds = 3;                  // turns each school takes; an action counts with its best
    QString dir;                     // where the schools are built and kept; empty: a temporary folder
    QString program;                 // the StudentGrades executable whose start-up is timed
    QString probePluginPath;         // the plugin folder of the probe that ends it once shown
    int session = 0;                 // >0: measure only this factor's school, in this process
    QString resultsFile;             // where such a session leaves its results
    QString only;                    // non-empty: only the groups of actions whose name contains it
};

// Prints the figures of every school and, with several factors, how each
// action grew against the first. Returns 0 when every target was met, 1
// when some were missed, 2 when the benchmark could not run.
int Run(const Options& options);

} // namespace bench
