// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Passes benchmark results on to the console and keeps each run's time per
// iteration in seconds, for the ratios a benchmark program prints at its end.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Wall, Processor };
    explicit RatioReporter(Clock clock) : clock_(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (!r.error_occurred)
                seconds_[r.benchmark_name()] =
                    (clock_ == Clock::Wall ? r.GetAdjustedRealTime() : r.GetAdjustedCPUTime()) /
                    benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }

    // The first run, in name order, whose name begins with `name`; 0 when
    // none ran.
    double Seconds(const std::string& name) const {
        for (const auto& [key, value] : seconds_)
            if (key.rfind(name, 0) == 0)
                return value;
        return 0;
    }

private:
    Clock clock_;
    std::map<std::string, double> seconds_;
};
