#pragma once

#include <functional>

// The main of a benchmark program that needs widgets: the application on the
// offscreen platform unless one was chosen, the benchmarks, then atEnd while
// the application still exists (windows must not outlive it).
int RunWidgetBenchmarks(int argc, char** argv, const std::function<void()>& atEnd = {});
