#pragma once

#include "model/nodelist.h"

// The minute the benchmarks work on: QUILLON_BENCH_NODES nodes (100,000 by
// default) with about 1,000 characters of text each, about 200 MB as a file.
NodeList MakeLargeMinute();
int LargeMinuteNodeCount();
