// File formats on a generated craft of about 100 000 faces and 64 textures of 256 x 256:
// OPT import against reading the same file into memory, create .OPT at three sizes, and
// saving and opening the project file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>

#include "dxf/dxf_import.h"
#include "editing/sample_craft.h"
#include "model/file_io.h"
#include "model/model.h"
#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

#include "bench/scratch.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

using tamsel::bench::Scratch;

// A sample project of about `faces` faces in 10 meshes (both levels counted).
Model& Craft(int faces) {
  static std::map<int, Model> crafts;
  auto it = crafts.find(faces);
  if (it != crafts.end()) return it->second;
  Model& model = crafts[faces];
  GenerateSample(model, Scratch() / ("craft" + std::to_string(faces)),
                 {10, faces * 8 / 100, 64, 256});  // a high level of 80 %, a low one of 20 %
  return model;
}

const fs::path& CraftOpt() {
  static const fs::path path = CreateOpt(Craft(100000), 1);
  return path;
}

void BM_ReadOptIntoMemory(benchmark::State& state) {
  const fs::path path = CraftOpt();
  for (auto _ : state) benchmark::DoNotOptimize(ReadFileBytes(path));
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_ReadOptIntoMemory)->Unit(benchmark::kMillisecond);

void BM_OptImport(benchmark::State& state) {
  const fs::path path = CraftOpt();
  const fs::path target = Scratch() / "imported";
  fs::create_directories(target);
  std::int64_t faces = 0;
  for (auto _ : state) {
    Model model;
    NewProject(model, target);
    ImportOpt(model, path);
    faces = TotalFaceCount(model);
  }
  state.counters["faces"] = static_cast<double>(faces);
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_OptImport)->Unit(benchmark::kMillisecond);

// One mesh of 100 000 faces whose faces run through 4 or 64 textures: the level grows one
// block of faces per texture, and the time must not grow with the number of blocks.
void BM_OptImportOneMesh(benchmark::State& state) {
  const int textures = static_cast<int>(state.range(0));
  static std::map<int, fs::path> opts;
  if (!opts.count(textures)) {
    Model model;
    GenerateSample(model, Scratch() / ("onemesh" + std::to_string(textures)),
                   {1, 100000, textures, 64});
    opts[textures] = CreateOpt(model, 1);
  }
  const fs::path target = Scratch() / ("onemesh-imported" + std::to_string(textures));
  fs::create_directories(target);
  for (auto _ : state) {
    Model model;
    NewProject(model, target);
    ImportOpt(model, opts[textures]);
    benchmark::DoNotOptimize(model.Meshes.size());
  }
}
BENCHMARK(BM_OptImportOneMesh)->Arg(4)->Arg(64)->Unit(benchmark::kMillisecond);

// The parse alone: the model records and bitmaps in memory, nothing written.
void BM_OptParse(benchmark::State& state) {
  const Bytes bytes = ReadFileBytes(CraftOpt());
  for (auto _ : state) {
    IdCounters ids;
    benchmark::DoNotOptimize(ReadOptImport(bytes, CraftOpt().string(), ids, 0));
  }
}
BENCHMARK(BM_OptParse)->Unit(benchmark::kMillisecond);

void BM_CreateOpt(benchmark::State& state) {
  const Model& model = Craft(static_cast<int>(state.range(0)));
  fs::path out;
  for (auto _ : state) out = CreateOpt(model, 1);
  state.counters["faces"] = static_cast<double>(TotalFaceCount(model));
  state.counters["MB"] = static_cast<double>(fs::file_size(out)) / 1e6;
}
BENCHMARK(BM_CreateOpt)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_OpzSave(benchmark::State& state) {
  const Model& model = Craft(100000);
  for (auto _ : state) SaveProject(model);
  state.counters["MB"] =
      static_cast<double>(fs::file_size(ProjectFilePath(model.ProjectPath))) / 1e6;
}
BENCHMARK(BM_OpzSave)->Unit(benchmark::kMillisecond);

void BM_OpzOpen(benchmark::State& state) {
  const Model& source = Craft(100000);
  SaveProject(source);
  for (auto _ : state) {
    Model model;
    OpenProject(model, ProjectFilePath(source.ProjectPath));
    benchmark::DoNotOptimize(model.Meshes.size());
  }
}
BENCHMARK(BM_OpzOpen)->Unit(benchmark::kMillisecond);

// A drawing of 100 000 3DFACEs on 10 layers, every fourth a triangle.
void BM_DxfImport(benchmark::State& state) {
  const fs::path path = Scratch() / "faces.dxf";
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < 100000; ++i) {
    const std::string x = std::to_string(i % 1000) + ".25", y = std::to_string(i / 1000) + ".5";
    text += "0\n3DFACE\n8\nLAYER" + std::to_string(i % 10) + "\n10\n" + x + "\n20\n" + y +
            "\n30\n0\n11\n" + x + "\n21\n" + y + "\n31\n1\n12\n" + x + "\n22\n" + y + "\n32\n2\n";
    if (i % 4) text += "13\n" + x + "\n23\n" + y + "\n33\n3\n";
  }
  text += "0\nENDSEC\n0\nEOF\n";
  WriteFileAtomic(path, text);
  const fs::path project = Scratch() / "dxfproject";
  fs::create_directories(project);
  for (auto _ : state) {
    Model model;
    NewProject(model, project);
    ImportDxf(model, path);
    benchmark::DoNotOptimize(model.Meshes.size());
  }
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_DxfImport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
