// Shared by the benchmark programs: their own options among Google
// Benchmark's, a scratch directory for the work, and the table of median
// rates side by side with their ratio.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

// The number of `--name=N` when `arg` is that option, else -1.
inline long LongOption(const char* arg, const char* name) {
  size_t n = std::strlen(name);
  return std::strncmp(arg, name, n) == 0 ? std::atol(arg + n) : -1;
}

// A fresh folder under the system's temporary directory, the current one
// and the program's home (ZELSAL_HOME) while the work runs, removed at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const char* prefix)
      : path(std::filesystem::temp_directory_path() / (prefix + std::to_string(std::random_device()()))),
        start(std::filesystem::current_path()) {
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
    setenv("ZELSAL_HOME", path.c_str(), 1);
  }
  ~ScratchDir() {
    std::filesystem::current_path(start);
    std::filesystem::remove_all(path);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path path;

 private:
  const std::filesystem::path start;
};

// Every figure is the median of five runs of one pass each, timed by the clock on the wall.
inline void FiveRuns(benchmark::internal::Benchmark* runs) {
  runs->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Keeps each run's rate (items a second) for the table of medians printed
// after the runs: a row an operation, the program's rate beside its peer's.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  RateReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      auto rate = run.counters.find("items_per_second");
      if (rate != run.counters.end()) rates[run.run_name.function_name].push_back(rate->second.value);
    }
  }
  // -1 when the run did not take place.
  double Median(const std::string& name) const {
    auto found = rates.find(name);
    if (found == rates.end() || found->second.empty()) return -1;
    std::vector<double> v = found->second;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  }
  static void Heading(const char* operation, const char* own) {
    std::printf("\n%-40s %12s %12s %8s\n", operation, own, "peer", "ratio");
  }
  // Nothing when either side did not run.
  static void Line(const std::string& label, double own, double peer) {
    if (own < 0 || peer < 0) return;
    std::printf("%-40s %12.0f %12.0f %8.2f\n", label.c_str(), own, peer, peer > 0 ? own / peer : 0.0);
  }

 private:
  std::map<std::string, std::vector<double>> rates;
};
