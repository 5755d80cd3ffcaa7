#pragma once
// A console reporter that also keeps each benchmark's time (in the benchmark's own unit)
// and counters by its base name, so a report can end with ratios against a baseline of the
// same run. The base name drops Google Benchmark's "/iterations:N" and "/repeats:N"
// suffixes; with repetitions only the median counts.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quovella {

class RunTimesReporter : public benchmark::ConsoleReporter {
  public:
    // Plain text: the figures usually end up in a log, not on a terminal.
    RunTimesReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const std::string name = baseName(run.benchmark_name());
            times_[name] = run.GetAdjustedRealTime();
            for (const auto& [counter, value] : run.counters) counters_[name][counter] = value;
        }
    }

  protected:
    // 0 when the benchmark did not run.
    double time(const std::string& name) const {
        const auto found = times_.find(name);
        return found == times_.end() ? 0.0 : found->second;
    }
    double counter(const std::string& name, const std::string& counterName) const {
        const auto found = counters_.find(name);
        if (found == counters_.end()) return 0.0;
        const auto value = found->second.find(counterName);
        return value == found->second.end() ? 0.0 : value->second.value;
    }
    const std::map<std::string, double>& times() const { return times_; }

  private:
    static std::string baseName(std::string name) {
        for (const char* suffix : {"/iterations:", "/repeats:"}) {
            name = name.substr(0, name.find(suffix));
        }
        return name;
    }

    std::map<std::string, double> times_;
    std::map<std::string, benchmark::UserCounters> counters_;
};

}  // namespace quovella
