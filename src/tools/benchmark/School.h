#pragma once

// One school measured in this process: built or reused in its folder, read
// into the system's cache, then every wanted driver on the stage.
#include "tools/benchmark/Benchmark.h"
#include "tools/benchmark/Figures.h"

namespace bench {

// Measures the school of options.session and prints its report; returns
// what the process exits with.
int MeasureSchool(const Options& options, const QString& root);

} // namespace bench
