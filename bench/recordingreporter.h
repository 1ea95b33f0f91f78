#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// Prints as the console reporter does, and keeps each benchmark's time per
// iteration so that the program can compare them afterwards.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    RecordingReporter();
    void ReportRuns(const std::vector<Run>& runs) override;

    std::map<std::string, double> seconds;
};
