#pragma once

// What the benchmark prints: each school's facts and figures against their
// targets, and how the figures grew with the history.
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
    double generatedSeconds = -1; // -1: a kept school
    qint64 fileSize = 0;
    qint64 peakKb = -1;        // of the benchmark while measuring
    qint64 programPeakKb = -1; // of StudentGrades at start-up
    QString sqliteVersion;
    QString loadBefore;
    QString loadAfter;
    int runs = 0;
};

void PrintSchool(const SchoolFacts& facts, const Results& results);
// Every action's median, maximum, handler time and verdict.
void PrintFigures(const Results& results);
// The larger school's figures against the base's; true when every action grew within the limit.
bool PrintGrowth(int baseFactor, const Results& base, int largerFactor, const Results& larger);

} // namespace bench
