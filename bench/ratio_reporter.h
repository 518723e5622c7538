// What the benches that print `<name> ratio: X` share: a console reporter that keeps each
// benchmark's time per iteration, and the run that hands it back. With repetitions the medians are
// used: a lone repetition of either side swings with the machine's load. Times are wall-clock, or
// the benchmark thread's CPU time where the work must be told apart from other threads'.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    enum Clock { kRealTime, kCpuTime };
    explicit RatioReporter(Clock clock = kRealTime)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular), m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_timePerIteration[run.benchmark_name()] =
                m_clock == kCpuTime ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
    }

    // The benchmark's time per iteration (its median when repeated); 0 when it did not run.
    [[nodiscard]] double timeOf(const std::string& name) const {
        auto it = m_timePerIteration.find(name + "_median");
        if (it == m_timePerIteration.end()) it = m_timePerIteration.find(name);
        return it == m_timePerIteration.end() ? 0.0 : it->second;
    }

    // Prints `label ratio: X` with X = numerator's time / denominator's time, when both ran.
    void printRatio(const char* label, const std::string& numerator, const std::string& denominator) const {
        const double n = timeOf(numerator), d = timeOf(denominator);
        if (n > 0 && d > 0) std::printf("%s ratio: %.2f\n", label, n / d);
    }

private:
    Clock m_clock;
    std::map<std::string, double> m_timePerIteration;
};

// Runs the benchmarks named on the command line through `reporter`; false on unknown arguments.
inline bool runBenchmarks(int argc, char** argv, RatioReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
