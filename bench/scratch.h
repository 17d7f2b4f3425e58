// The benchmarks' scratch folder, made once under the temporary folder, and a main that
// runs the benchmarks and removes the folder afterwards.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

namespace tamsel::bench {

inline const std::filesystem::path& Scratch() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path d = std::filesystem::temp_directory_path() /
                              ("tamsel-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

inline int RunBenchmarks(int argc, char** argv) {
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(Scratch(), ec);
  return 0;
}

}  // namespace tamsel::bench
