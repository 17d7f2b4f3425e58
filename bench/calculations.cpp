// Whole-model calculations on generated craft of about 25 000, 50 000 and 100 000 faces:
// vertex normals (linear with the hash), face normals, software vectors and Quad2Tri.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>

#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/sample_craft.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

const Model& Craft(int faces) {
  static std::map<int, Model> crafts;
  auto it = crafts.find(faces);
  if (it != crafts.end()) return it->second;
  const fs::path dir =
      fs::temp_directory_path() / ("tamsel-bench-calc-" + std::to_string(std::random_device{}()));
  Model& model = crafts[faces];
  GenerateSample(model, dir, {10, faces * 8 / 100, 4, 8});
  fs::remove_all(dir);
  return model;
}

template <void (*Command)(Model&)>
void Run(benchmark::State& state) {
  Model model = Craft(static_cast<int>(state.range(0)));
  CalculateFaceNormals(model);
  for (auto _ : state) Command(model);
  state.counters["faces"] = static_cast<double>(TotalFaceCount(model));
}

void VertexNormals(Model& m) {
  CalculateVertexNormals(m);
}
void FaceNormals(Model& m) {
  CalculateFaceNormals(m);
}
void SoftwareVectors(Model& m) {
  CalculateSoftwareVectors(m);
}

void BM_Quad2Tri(benchmark::State& state) {
  const Model& source = Craft(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Model model = source;
    state.ResumeTiming();
    Quad2Tri(model);
  }
}

BENCHMARK(Run<VertexNormals>)
    ->Name("BM_VertexNormals")
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Run<FaceNormals>)->Name("BM_FaceNormals")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SoftwareVectors>)
    ->Name("BM_SoftwareVectors")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quad2Tri)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
