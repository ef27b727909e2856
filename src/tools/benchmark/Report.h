#pragma once

// What the benchmark prints: each school's facts and figures against their
// targets, and how the figures grew with the history.
#include "data/StoreLocation.h"
#include "tools/benchmark/Figures.h"

#include <QTextStream>

namespace bench {

QTextStream& Out();

// What a report says about the school that was measured and the machine.
struct SchoolFacts {
    QString title;
    qint64 grades = 0; // 0: not known
    int students = 0;
    qint64 standards = 0;
    Engine engine = Engine::File;
    int factor = 1;                 // times the base school's terms
    double generatedSeconds = -1; // -1: a kept school
    double copiedSeconds = -1;    // onto the server; -1: copied by an earlier round
    qint64 databaseSize = 0;      // the data file's, or the server database's
    qint64 peakKb = -1;           // of the benchmark while measuring
    qint64 programPeakKb = -1;    // of StudentGrades at start-up
    QString engineVersion;        // "SQLite 3.40.1", "PostgreSQL 15.18"
    QString serverAt;             // where the run's server listens
    QString loadBefore;
    QString loadAfter;
    int runs = 0;
};

void PrintSchool(const SchoolFacts& facts, const Results& results);
// Every action's median, maximum, handler time and verdict, each figure
// named with the engine it was measured on.
void PrintFigures(const Results& results, Engine engine, int factor);
// The larger school's figures against the base's, on one engine; true when
// every action grew within the limit.
bool PrintGrowth(Engine engine, int baseFactor, const Results& base, int largerFactor, const Results& larger);
// One school's figures on the server beside those on the file.
void PrintEngines(int factor, const Results& file, const Results& server);

} // namespace bench
