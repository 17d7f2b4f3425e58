// Welding a run of vertices for the viewport's buffers: the viewport's own open-addressed
// table against meshoptimizer's remap (meshopt_generateVertexRemap), on the runs the
// 200 000-face craft gives (textured triangles: u, v, x, y, z; a quad's two triangles
// share two corners, neighbouring faces theirs).
#include <benchmark/benchmark.h>
#include <meshoptimizer.h>

#include <cstdint>
#include <vector>

#include "viewport/vertex_index.h"

namespace {

std::vector<float> Run(int quadsPerSide) {
  std::vector<float> run;
  const auto corner = [&](int x, int y) {
    run.insert(run.end(), {x / 64.0f, y / 64.0f, static_cast<float>(x), static_cast<float>(y),
                           static_cast<float>((x * 7 + y * 3) % 11)});
  };
  for (int y = 0; y < quadsPerSide; ++y)
    for (int x = 0; x < quadsPerSide; ++x) {
      corner(x, y), corner(x + 1, y), corner(x + 1, y + 1);
      corner(x, y), corner(x + 1, y + 1), corner(x, y + 1);
    }
  return run;
}

void BM_WeldOwnTable(benchmark::State& state) {
  const std::vector<float> run = Run(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tamsel::IndexVertices(run, 5));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(run.size() / 5));
}
BENCHMARK(BM_WeldOwnTable)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_WeldMeshoptRemap(benchmark::State& state) {
  const std::vector<float> run = Run(static_cast<int>(state.range(0)));
  const std::size_t count = run.size() / 5;
  for (auto _ : state) {
    tamsel::IndexedVertices out;
    out.indices.resize(count);
    const std::size_t unique = meshopt_generateVertexRemap(out.indices.data(), nullptr, count,
                                                           run.data(), count, 5 * sizeof(float));
    out.vertices.resize(unique * 5);
    meshopt_remapVertexBuffer(out.vertices.data(), run.data(), count, 5 * sizeof(float),
                              out.indices.data());
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_WeldMeshoptRemap)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
