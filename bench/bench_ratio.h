// Benchmark support: the fastest of several interleaved repetitions of each
// benchmark, and ratios between two benchmarks measured in the same run.
//
// Every benchmark given to BenchFastest runs kBenchRepetitions times; with
// BenchInitialize the repetitions of all benchmarks run interleaved in
// random order. Load from other processes on a shared machine only ever
// makes a repetition slower, so the fastest one is the steadiest figure.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>  // isatty

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Repetitions of every benchmark; the fastest counts.
constexpr int kBenchRepetitions = 9;

// Name of the statistic that holds the fastest repetition.
constexpr const char* kBenchFastest = "min";

// Runs the benchmark kBenchRepetitions times and reports the fastest
// repetition next to the usual mean and median. Use with ->Apply().
inline void BenchFastest(benchmark::internal::Benchmark* b) {
  b->Repetitions(kBenchRepetitions)
      ->ComputeStatistics(kBenchFastest,
                          [](const std::vector<double>& times) {
                            return *std::min_element(times.begin(),
                                                     times.end());
                          })
      ->DisplayAggregatesOnly(true);
}

// benchmark::Initialize with the repetitions interleaved in random order
// unless the command line says otherwise.
inline void BenchInitialize(int argc, char** argv) {
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> arguments(argv, argv + argc);
  arguments.insert(arguments.begin() + 1, interleaving);  // overridable
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
}

// The console report, plus each benchmark's fastest repetition by name.
class BenchRatioReporter : public benchmark::ConsoleReporter {
 public:
  // Which clock the ratios compare.
  enum class Clock { kCpu, kWall };

  // CPU time suits computing; wall time suits reading files. Colours only
  // on a terminal.
  explicit BenchRatioReporter(Clock clock = Clock::kCpu)
      : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_None),
        clock_(clock) {}

  // Keeps the fastest repetitions, then prints the runs as usual.
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.aggregate_name != kBenchFastest) continue;
      fastest_[run.run_name.function_name] = clock_ == Clock::kCpu
                                                 ? run.GetAdjustedCPUTime()
                                                 : run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The ratio of two benchmarks' fastest times; 0 when either did not run.
  double Ratio(const std::string& measured,
               const std::string& reference) const {
    const auto m = fastest_.find(measured);
    const auto r = fastest_.find(reference);
    if (m == fastest_.end() || r == fastest_.end() || r->second <= 0) return 0;
    return m->second / r->second;
  }

  // Prints "label  ratio x", with the target and whether it was missed when
  // a target is given.
  void PrintRatio(const std::string& label, const std::string& measured,
                  const std::string& reference, double target = 0) const {
    const double ratio = Ratio(measured, reference);
    if (ratio <= 0) return;
    std::printf("  %-36s %6.2fx", label.c_str(), ratio);
    if (target > 0) {
      std::printf("  (target <= %.1fx)%s", target,
                  ratio <= target ? "" : "  MISSED");
    }
    std::printf("\n");
  }

 private:
  Clock clock_;                           // the clock compared
  std::map<std::string, double> fastest_;  // fastest repetition by name
};
