#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace vesk::bench {

// Keeps each benchmark's rate (items per second) and CPU time so the
// ratios can be printed after the run. With --benchmark_repetitions the
// median of the repetitions is kept: on a shared machine single runs vary
// too much to compare.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rate, time;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            auto it = r.counters.find("items_per_second");
            if (it == r.counters.end()) continue;
            const std::string name = r.run_name.str();
            if (r.run_type == Run::RT_Aggregate ? r.aggregate_name == "median" : !medians_.count(name)) {
                rate[name] = it->second.value;
                time[name] = r.GetAdjustedCPUTime();
                if (r.run_type == Run::RT_Aggregate) medians_.insert(name);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::set<std::string> medians_;
};

}  // namespace vesk::bench
