#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Keeps each benchmark's processor time per iteration (the median when
// repeated; unlike wall time it does not count the time other programs took),
// beside the usual console table, so a program can print ratios after the run.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.aggregate_name == "median" || (run.aggregate_name.empty() && !times_.contains(name))) {
                times_[name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const {
        const auto found = times_.find(name);
        return found == times_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> times_;
};
