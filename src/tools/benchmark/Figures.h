#pragma once

// The benchmark's figures: what is timed of one action, and what is kept of
// it across rounds and processes.
#include <QString>
#include <vector>

namespace bench {

enum class Kind {
    StartUp,    // launching the program; target 500 ms
    Read,       // an action that only reads; target one 60 Hz frame
    Write,      // one transaction; target: the smallest durable commit + the action's slack
    Reference,  // a commit to compare the initialisations with
    Survey,     // a read across every class of a term; target 50 ms
    History,    // a read across every term, so its work grows with them; target one frame
    Print,      // a class's table printed: its PDF, its preview shown; target 300 ms
    PrintBatch, // a class's report cards as one PDF; target 1 s
    Bounded,    // an action with a limit of its own, in slackMs (imports and exports of spreadsheets)
    Glance,     // a look at the whole school on the way to something else; target 5 ms
};

// What a write may take beyond the smallest commit, unless its action says otherwise.
constexpr double kCommitSlackMs = 5.0;

// An action by the name the report gives it.
struct Action {
    const char* name;
    Kind kind;
    double slackMs = kCommitSlackMs; // a write's allowance beyond the commit; a bounded action's limit
    QString title() const { return QString::fromUtf8(name); }
};

// The runs of one action.
struct Figures {
    QString name;
    Kind kind = Kind::Read;
    double slackMs = kCommitSlackMs;
    std::vector<double> onScreen; // from the user's action until the result is painted
    std::vector<double> handled;  // the handler alone, until it returned
    bool faulty = false;          // a window reported a failure or nothing was painted
    bool warm = false;            // the first run of each action warms caches and is not counted

    // Counts a run, unless it is the first one, which only warms up.
    void record(double onScreenMs, double handledMs);
};

double Median(std::vector<double> values);

// What is kept of an action's figures, also across processes.
struct Result {
    QString name;
    Kind kind = Kind::Read;
    double median = 0;
    double max = 0;
    double handled = 0;
    bool faulty = false;
    double slackMs = kCommitSlackMs;

    static Result of(const Figures& f);
};
using Results = std::vector<Result>;

const Result* Find(const Results& results, Kind kind, const QString& prefix);
// Each action keeps the round with the lower median; a round in which it
// went wrong marks it for good.
void KeepBest(Results& best, const Results& round);

// A school's process hands its results to the one that compares them in a file.
bool WriteResults(const QString& path, const Results& results);
Results ReadResults(const QString& path);

} // namespace bench
