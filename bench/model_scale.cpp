// Other tools' models at scale, as whole `tamsel-cli` processes: a glTF of 250 000, 500 000
// and 1 000 000 triangles (16 meshes of indexed grids with normals and texture coordinates,
// four 256 x 256 textures) imported into a new project, that project exported to .glb, and
// that .glb imported again.
// Each figure is a fresh process with its peak resident memory, so that growth shows as a
// curve over the three sizes.
#include <benchmark/benchmark.h>
#include <tiny_gltf.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "bench/gltf_file.h"
#include "bench/process.h"
#include "bench/scratch.h"
#include "interchange/texture_image.h"
#include "model/file_io.h"

namespace fs = std::filesystem;
using namespace tamsel;
using tamsel::bench::RunProcess;
using tamsel::bench::Scratch;

namespace {

// Each step at 250 000, 500 000 and 1 000 000 triangles, twice, timed as processes.
void AtThreeSizes(benchmark::internal::Benchmark* b) {
  b->Arg(250000)->Arg(500000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
  b->Iterations(2);
}

// 16 grids of about triangles / 16 triangles each, bent into waves.
fs::path GridGltf(int triangles) {
  const fs::path out = Scratch() / ("grid" + std::to_string(triangles) + ".glb");
  if (fs::exists(out)) return out;
  tinygltf::Model m;
  m.asset.version = "2.0";
  const auto view = [&](const void* p, std::size_t n) { return bench::AppendView(m, p, n); };
  const int side = static_cast<int>(std::sqrt(triangles / 16 / 2.0));
  tinygltf::Scene scene;
  for (int t = 0; t < 4; ++t) {
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 256 * 256; ++i)
      rgba.insert(rgba.end(),
                  {static_cast<std::uint8_t>(i * (t + 1)), static_cast<std::uint8_t>(i >> 8),
                   static_cast<std::uint8_t>(t * 60), 255});
    bench::AddImageMaterial(m, EncodePng({256, 256, rgba}), "paint" + std::to_string(t));
  }
  for (int part = 0; part < 16; ++part) {
    std::vector<float> positions, normals, uv;
    for (int y = 0; y <= side; ++y)
      for (int x = 0; x <= side; ++x) {
        const float h = std::sin(x * 0.3f) * std::cos(y * 0.2f);
        positions.insert(positions.end(),
                         {static_cast<float>(x), h, static_cast<float>(y) + part * (side + 2)});
        normals.insert(normals.end(), {0, 1, 0});
        uv.insert(uv.end(), {static_cast<float>(x) / side, static_cast<float>(y) / side});
      }
    std::vector<std::uint32_t> order;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const std::uint32_t a = static_cast<std::uint32_t>(y * (side + 1) + x), b = a + 1,
                            c = a + static_cast<std::uint32_t>(side) + 1, d = c + 1;
        order.insert(order.end(), {a, c, b, b, c, d});
      }
    tinygltf::Accessor pos, nor, tex, indices;
    pos.bufferView = view(positions.data(), positions.size() * 4);
    pos.componentType = nor.componentType = tex.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    pos.type = nor.type = TINYGLTF_TYPE_VEC3, tex.type = TINYGLTF_TYPE_VEC2;
    pos.count = nor.count = tex.count = positions.size() / 3;
    pos.minValues = {0, -1, 0}, pos.maxValues = {static_cast<double>(side), 1, 16.0 * (side + 2)};
    nor.bufferView = view(normals.data(), normals.size() * 4);
    tex.bufferView = view(uv.data(), uv.size() * 4);
    indices.bufferView = view(order.data(), order.size() * 4);
    indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    indices.type = TINYGLTF_TYPE_SCALAR, indices.count = order.size();
    const int first = static_cast<int>(m.accessors.size());
    m.accessors.insert(m.accessors.end(), {pos, nor, tex, indices});
    tinygltf::Mesh mesh;
    tinygltf::Primitive prim;
    prim.attributes = {{"POSITION", first}, {"NORMAL", first + 1}, {"TEXCOORD_0", first + 2}};
    prim.indices = first + 3;
    prim.mode = TINYGLTF_MODE_TRIANGLES;
    prim.material = part % 4;
    mesh.primitives = {prim};
    m.meshes.push_back(mesh);
    tinygltf::Node node;
    node.name = "Part " + std::to_string(part);
    node.mesh = part;
    m.nodes.push_back(node);
    scene.nodes.push_back(part);
  }
  m.scenes = {scene};
  bench::WriteGlb(m, out);
  return out;
}

fs::path ProjectOf(int triangles) {
  return Scratch() / ("project" + std::to_string(triangles));
}

void BM_ImportGltf(benchmark::State& state) {
  const int triangles = static_cast<int>(state.range(0));
  const fs::path file = GridGltf(triangles);
  state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
  tamsel::bench::MeasureProcess(
      state,
      [&] {
        return std::vector<std::string>{TAMSEL_CLI, "import-model", file.string(),
                                        ProjectOf(triangles).string()};
      },
      [&] { fs::remove_all(ProjectOf(triangles)); });
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_ImportGltf)->Apply(AtThreeSizes);

void BM_ExportGlb(benchmark::State& state) {
  const int triangles = static_cast<int>(state.range(0));
  const fs::path project = ProjectOf(triangles);
  if (!fs::exists(project / (project.filename().string() + ".opz")))
    RunProcess({TAMSEL_CLI, "import-model", GridGltf(triangles).string(), project.string()});
  const fs::path opz = project / (project.filename().string() + ".opz");
  tamsel::bench::MeasureProcess(state, [&] {
    return std::vector<std::string>{TAMSEL_CLI, "export", opz.string(),
                                    (Scratch() / "out.glb").string()};
  });
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_ExportGlb)->Apply(AtThreeSizes);

// Our own .glb of the same craft read back: its size beside the plain file's, and the import.
void BM_ReimportOwnGlb(benchmark::State& state) {
  const int triangles = static_cast<int>(state.range(0));
  const fs::path project = ProjectOf(triangles);
  if (!fs::exists(project / (project.filename().string() + ".opz")))
    RunProcess({TAMSEL_CLI, "import-model", GridGltf(triangles).string(), project.string()});
  const fs::path own = Scratch() / ("own" + std::to_string(triangles) + ".glb");
  if (!fs::exists(own))
    RunProcess({TAMSEL_CLI, "export", (project / (project.filename().string() + ".opz")).string(),
                own.string()});
  const fs::path back = Scratch() / ("back" + std::to_string(triangles));
  tamsel::bench::MeasureProcess(
      state,
      [&] {
        return std::vector<std::string>{TAMSEL_CLI, "import-model", own.string(), back.string()};
      },
      [&] { fs::remove_all(back); });
  state.counters["own_MB"] = static_cast<double>(fs::file_size(own)) / 1e6;
  state.counters["plain_MB"] = static_cast<double>(fs::file_size(GridGltf(triangles))) / 1e6;
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_ReimportOwnGlb)->Apply(AtThreeSizes);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
