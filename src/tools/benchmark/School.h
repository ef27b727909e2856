#pragma once

// One school measured in this process on one engine: built or reused in its
// folder, read into the system's cache (on the server: copied there unless
// an earlier round did, and read into the server's buffers), then every
// wanted driver on the stage.
#include "tools/benchmark/Benchmark.h"
#include "tools/benchmark/Figures.h"

namespace bench {

// Measures the school of options.session on options.engine and prints its report; returns
// what the process exits with.
int MeasureSchool(const Options& options, const QString& root);

} // namespace bench
