// Models in and out: importing a 100 000-triangle glTF of another tool with 16 true-colour
// textures of 1024 x 1024 (largest side 1024), the palette reduction of those textures on
// its own, and exporting the 100 000-face craft to .glb.
#include <benchmark/benchmark.h>
#include <tiny_gltf.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "editing/sample_craft.h"
#include "interchange/model_import.h"
#include "interchange/own_gltf.h"
#include "opt/opt_writer.h"

#include "bench/gltf_file.h"
#include "bench/scratch.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

using tamsel::bench::Scratch;

RgbaImage TrueColour(int seed) {
  RgbaImage image{1024, 1024, {}};
  image.rgba.reserve(1024 * 1024 * 4);
  for (int y = 0; y < 1024; ++y)
    for (int x = 0; x < 1024; ++x)
      image.rgba.insert(image.rgba.end(),
                        {static_cast<std::uint8_t>(x + seed * 16), static_cast<std::uint8_t>(y ^ x),
                         static_cast<std::uint8_t>((x * y + seed) >> 4), 255});
  return image;
}

// 16 meshes of 6 250 triangles, each with its own material and embedded PNG.
const fs::path& ForeignGltf() {
  static const fs::path path = [] {
    tinygltf::Model m;
    m.asset.version = "2.0";
    const auto view = [&](const void* p, std::size_t n) { return bench::AppendView(m, p, n); };
    std::mt19937 random(1);
    std::uniform_real_distribution<float> coord(-50, 50);
    tinygltf::Scene scene;
    for (int part = 0; part < 16; ++part) {
      std::vector<float> positions, uv;
      for (int t = 0; t < 6250 * 3; ++t) {
        positions.insert(positions.end(), {coord(random), coord(random), coord(random)});
        uv.insert(uv.end(), {(coord(random) + 50) / 100, (coord(random) + 50) / 100});
      }
      tinygltf::Accessor pos, tex;
      pos.bufferView = view(positions.data(), positions.size() * 4);
      pos.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT, pos.type = TINYGLTF_TYPE_VEC3;
      pos.count = positions.size() / 3, pos.minValues = {-50, -50, -50},
      pos.maxValues = {50, 50, 50};
      tex.bufferView = view(uv.data(), uv.size() * 4);
      tex.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT, tex.type = TINYGLTF_TYPE_VEC2;
      tex.count = uv.size() / 2;
      std::vector<std::uint32_t> order(positions.size() / 3);
      for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
      tinygltf::Accessor indices;
      indices.bufferView = view(order.data(), order.size() * 4);
      indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
      indices.type = TINYGLTF_TYPE_SCALAR, indices.count = order.size();
      m.accessors.push_back(pos);
      m.accessors.push_back(tex);
      m.accessors.push_back(indices);
      bench::AddImageMaterial(m, EncodePng(TrueColour(part)), "part" + std::to_string(part));
      tinygltf::Mesh mesh;
      tinygltf::Primitive prim;
      prim.attributes = {{"POSITION", 3 * part}, {"TEXCOORD_0", 3 * part + 1}};
      prim.indices = 3 * part + 2;
      prim.mode = TINYGLTF_MODE_TRIANGLES;
      prim.material = part;
      mesh.primitives = {prim};
      m.meshes.push_back(mesh);
      tinygltf::Node node;
      node.name = "Part " + std::to_string(part);
      node.mesh = part;
      m.nodes.push_back(node);
      scene.nodes.push_back(part);
    }
    m.scenes = {scene};
    const fs::path out = Scratch() / "foreign.glb";
    bench::WriteGlb(m, out);
    return out;
  }();
  return path;
}

void BM_ImportForeignGltf(benchmark::State& state) {
  ModelImportOptions options;
  options.texture.maxSize = 1024;
  ForeignGltf();  // made before the clock starts
  for (auto _ : state) {
    IdCounters ids;
    const ModelImportResult r = ReadModelFile(ForeignGltf(), options, ids, {});
    std::size_t faces = 0;
    for (const MeshRec& m : r.meshes) faces += m.LODs[0].Faces.size();
    state.counters["faces"] = static_cast<double>(faces);
    state.counters["textures"] = static_cast<double>(r.bitmaps.size());
  }
  state.counters["MB"] = static_cast<double>(fs::file_size(ForeignGltf())) / 1e6;
}
BENCHMARK(BM_ImportForeignGltf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ReduceSixteenTextures(benchmark::State& state) {
  std::vector<RgbaImage> images;
  for (int i = 0; i < 16; ++i) images.push_back(TrueColour(i));
  for (auto _ : state) {
    std::vector<std::string> warnings;
    for (const RgbaImage& image : images) ToIndexed(image, {1024, true}, "t", warnings);
  }
}
BENCHMARK(BM_ReduceSixteenTextures)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ExportCraftToGlb(benchmark::State& state) {
  static Model craft = [] {
    Model m;
    GenerateSample(m, Scratch() / "craft", {10, 8000, 64, 256});
    return m;
  }();
  for (auto _ : state) WriteGltf(craft, ProjectBitmaps(craft), Scratch() / "craft.glb");
  state.counters["faces"] = static_cast<double>(TotalFaceCount(craft));
  state.counters["MB"] = static_cast<double>(fs::file_size(Scratch() / "craft.glb")) / 1e6;
}
BENCHMARK(BM_ExportCraftToGlb)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
