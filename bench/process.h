// Runs a program to its end for the whole-process benchmarks: wall seconds and the peak
// resident memory of it and every process it waited for.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace tamsel::bench {

// Seconds and peak megabytes; a negative time when the program failed.
inline std::pair<double, double> RunProcess(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {-1, 0};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {-1, 0};
  return {seconds, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// Times `command` as a fresh process per iteration (after `before`, untimed), and reports its
// peak memory as the counter peak_MB.
inline void MeasureProcess(benchmark::State& state,
                           const std::function<std::vector<std::string>()>& command,
                           const std::function<void()>& before = {}) {
  double peak = 0;
  for (auto _ : state) {
    if (before) before();
    const auto [seconds, megabytes] = RunProcess(command());
    if (seconds < 0) {
      state.SkipWithError("the process failed");
      return;
    }
    state.SetIterationTime(seconds);
    peak = std::max(peak, megabytes);
  }
  state.counters["peak_MB"] = peak;
}

}  // namespace tamsel::bench
