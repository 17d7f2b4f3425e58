// Whole processes, as the user meets them: the editor started to its first frame, empty
// and with a 100 000-face project (the project's open is the difference), and
// `tamsel-cli import-opt` of that craft's OPT file into a new project. Each run is a fresh
// process; its peak resident memory is reported. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/process.h"
#include "bench/scratch.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

using tamsel::bench::Scratch;

std::pair<double, double> Run(std::vector<std::string> args) {
  return tamsel::bench::RunProcess(std::move(args));
}

const fs::path& Craft() {
  static const fs::path opz = [] {
    const fs::path dir = Scratch() / "craft";
    Run({TAMSEL_CLI, "sample", dir.string(), "--meshes", "16", "--faces", "5000", "--textures",
         "64", "--size", "256"});
    Run({TAMSEL_CLI, "create-opt", dir.string(), "--seed", "7"});
    return dir / "craft.opz";
  }();
  return opz;
}

void Measure(benchmark::State& state, const std::function<std::vector<std::string>()>& command,
             const std::function<void()>& before = {}) {
  tamsel::bench::MeasureProcess(state, command, before);
}

void BM_StartupToFirstFrame(benchmark::State& state) {
  Measure(state, [] {
    return std::vector<std::string>{TAMSEL_BINARY, "--quit-after-first-frame"};
  });
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_OpenProjectToFirstFrame(benchmark::State& state) {
  const std::string project = Craft().string();
  Measure(state, [&] {
    return std::vector<std::string>{TAMSEL_BINARY, "--quit-after-first-frame", project};
  });
}
BENCHMARK(BM_OpenProjectToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_ImportOptProcess(benchmark::State& state) {
  const std::string opt = (Craft().parent_path() / "craft.opt").string();
  const fs::path target = Scratch() / "imported";
  Measure(
      state,
      [&] {
        return std::vector<std::string>{TAMSEL_CLI, "import-opt", opt, target.string()};
      },
      [&] {
        std::error_code ec;
        fs::remove_all(target, ec);
      });
}
BENCHMARK(BM_ImportOptProcess)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
