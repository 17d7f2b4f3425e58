// The craft check on generated craft of about 25 000, 50 000 and 100 000 faces, as the
// window runs it after an edit: bitmaps through a cache that the first run fills. The goal
// is 100 ms at 100 000 faces.
#include <benchmark/benchmark.h>

#include <map>

#include "bench/scratch.h"
#include "check/craft_check.h"
#include "editing/sample_craft.h"

using namespace tamsel;

namespace {

const Model& Craft(int faces) {
  static std::map<int, Model> crafts;
  auto it = crafts.find(faces);
  if (it != crafts.end()) return it->second;
  Model& model = crafts[faces];
  GenerateSample(model, bench::Scratch() / std::to_string(faces), {10, faces * 8 / 100, 16, 64});
  return model;
}

void BM_CheckCraft(benchmark::State& state) {
  const Model& model = Craft(static_cast<int>(state.range(0)));
  const auto cache = std::make_shared<BitmapFactsCache>();
  const BitmapFactsSource bitmaps = ProjectBitmapFacts(model.ProjectPath, cache);
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = CheckCraft(model, Profile::Original, bitmaps).size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["faces"] = static_cast<double>(TotalFaceCount(model));
  state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(BM_CheckCraft)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmarks(argc, argv);
}
