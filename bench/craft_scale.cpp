// Large craft at four sizes, as whole processes beside the time to read the project file
// at all (md5sum, the floor): each step's seconds and peak memory at about 100 000, 250 000,
// 500 000 and 1 000 000 faces, so that its growth shows as a curve. The craft are
// `tamsel-cli sample` craft of 100 meshes and 64 textures; run under Xvfb for the window.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "bench/process.h"
#include "bench/scratch.h"

namespace fs = std::filesystem;
using tamsel::bench::MeasureProcess;
using tamsel::bench::RunProcess;
using tamsel::bench::Scratch;

namespace {

// The project of about `faces` faces (a sampled mesh of F faces holds about 1.242 F).
fs::path Craft(int faces) {
  static std::map<int, fs::path> made;
  if (auto it = made.find(faces); it != made.end()) return it->second;
  const fs::path dir = Scratch() / ("craft" + std::to_string(faces));
  RunProcess({TAMSEL_CLI, "sample", dir.string(), "--meshes", "100", "--faces",
              std::to_string(static_cast<long long>(faces) * 1000 / 124200), "--textures", "64"});
  RunProcess({TAMSEL_CLI, "create-opt", dir.string(), "--seed", "1"});
  return made[faces] = dir / (dir.filename().string() + ".opz");
}

void Sizes(benchmark::State& state, const fs::path& project) {
  const fs::path opt = project.parent_path() / (project.parent_path().filename().string() + ".opt");
  state.counters["opz_MB"] = static_cast<double>(fs::file_size(project)) / 1e6;
  state.counters["opt_MB"] = static_cast<double>(fs::file_size(opt)) / 1e6;
}

using Command = std::vector<std::string> (*)(const fs::path& project);

template <Command command>
void Step(benchmark::State& state) {
  const fs::path project = Craft(static_cast<int>(state.range(0)));
  const fs::path out = Scratch() / "out";
  MeasureProcess(
      state, [&] { return command(project); },
      [&] {
        std::error_code ec;
        fs::remove_all(out, ec);
      });
  Sizes(state, project);
}

std::string Opt(const fs::path& p) {
  return (p.parent_path() / (p.parent_path().filename().string() + ".opt")).string();
}
std::string Out(const char* name) {
  return (Scratch() / "out" / name).string();
}

std::vector<std::string> Floor(const fs::path& p) {
  return {"/usr/bin/md5sum", p.string()};
}
std::vector<std::string> Open(const fs::path& p) {
  return {TAMSEL_BINARY, "--quit-after-first-frame", p.string()};
}
std::vector<std::string> Info(const fs::path& p) {
  return {TAMSEL_CLI, "info", p.string()};
}
std::vector<std::string> CreateOpt(const fs::path& p) {
  fs::create_directories(Scratch() / "out");
  return {TAMSEL_CLI, "create-opt", p.parent_path().string(), "-o", Out("c.opt")};
}
std::vector<std::string> ImportOpt(const fs::path& p) {
  return {TAMSEL_CLI, "import-opt", Opt(p), Out("imported")};
}
std::vector<std::string> Export(const fs::path& p) {
  fs::create_directories(Scratch() / "out");
  return {TAMSEL_CLI, "export", p.string(), Out("c.glb")};
}

#define SCALE(name, command)          \
  BENCHMARK(Step<command>)            \
      ->Name(name)                    \
      ->Arg(100000)                   \
      ->Arg(250000)                   \
      ->Arg(500000)                   \
      ->Arg(1000000)                  \
      ->UseManualTime()               \
      ->Unit(benchmark::kMillisecond) \
      ->Iterations(1)

SCALE("BM_Floor_md5sum", Floor);
SCALE("BM_OpenToFirstFrame", Open);
SCALE("BM_Info", Info);
SCALE("BM_CreateOpt", CreateOpt);
SCALE("BM_ImportOpt", ImportOpt);
SCALE("BM_ExportGlb", Export);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
