// The game-ready commands on craft of the sizes modders bring: a low level for a 100 000-face
// craft of closed tubes, 64 small textures packed, a folder of 50 craft checked. The
// counters give what the figures promise besides time: the share of faces kept and the
// largest deviation, the atlases made.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "bench/scratch.h"
#include "check/texture_pack.h"
#include "editing/generate_lod.h"
#include "editing/sample_craft.h"
#include "model/bounds.h"

namespace {

using namespace tamsel;

// The sample craft: hull sections, each a tube closed by fans, about `faces` in all.
Model TubeCraft(int faces) {
  const std::filesystem::path folder = bench::Scratch() / ("tubes" + std::to_string(faces));
  static std::map<int, Model> made;
  if (const auto it = made.find(faces); it != made.end()) return it->second;
  Model model;
  SampleOptions o;
  o.meshes = 10;
  o.faces = faces / o.meshes;
  GenerateSample(model, folder, o);
  CalculateBounds(model);
  return made[faces] = model;
}

void BM_GenerateLowLevels(benchmark::State& state) {
  const Model craft = TubeCraft(static_cast<int>(state.range(0)));
  double kept = 0, deviation = 0;
  for (auto _ : state) {
    Model model = craft;
    const auto reports = GenerateLowLevels(model, {}, {});
    long before = 0, after = 0;
    deviation = 0;
    for (const LodReport& r : reports) {
      before += r.facesBefore, after += r.facesAfter;
      deviation = std::max(deviation, r.deviation);
    }
    kept = static_cast<double>(after) / static_cast<double>(before);
    benchmark::DoNotOptimize(model);
  }
  state.counters["kept"] = kept;
  state.counters["deviation"] = deviation;
}
BENCHMARK(BM_GenerateLowLevels)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PackSixtyFourTextures(benchmark::State& state) {
  Model base;
  std::map<std::string, Bitmap> bitmaps;
  std::vector<FaceRec> faces;
  for (int n = 0; n < 64; ++n) {
    Bitmap b;
    b.width = b.height = 32;
    b.palette[0] = static_cast<std::uint8_t>(n * 4);
    b.palette[4] = 255;
    b.palette[6] = static_cast<std::uint8_t>(n);
    for (int i = 0; i < 32 * 32; ++i) b.texels.push_back(static_cast<std::uint8_t>((i / 7) % 2));
    std::string name = std::to_string(n);  // "T" + ... trips GCC 12's -Wrestrict
    name = name.insert(0, 1, 'T') + ".BMP";
    bitmaps[name] = b;
    TextureRec t;
    t.Name = name;
    base.Textures.push_back(t);
    FaceRec f;
    for (int k = 0; k < 4; ++k) {
      f.Vertices[static_cast<std::size_t>(k)].X = static_cast<float>(n + (k == 1 || k == 2));
      f.Vertices[static_cast<std::size_t>(k)].Y = static_cast<float>(k >= 2);
      f.Vertices[static_cast<std::size_t>(k)].U = static_cast<float>(k == 1 || k == 2);
      f.Vertices[static_cast<std::size_t>(k)].V = static_cast<float>(k >= 2);
    }
    f.TextureNames = {name, kBlank, kBlank, kBlank, ""};
    faces.push_back(f);
  }
  MeshRec mesh;
  mesh.LODs.resize(1);
  mesh.LODs[0].Faces = faces;
  base.Meshes.push_back(mesh);
  const std::filesystem::path folder = bench::Scratch() / "pack";
  std::filesystem::create_directories(folder);
  base.ProjectPath = folder.string();
  const BitmapLoader loader = [&](const TextureRec& t) { return bitmaps.at(t.Name); };
  std::size_t atlases = 0;
  for (auto _ : state) {
    Model model = base;
    FileTransaction files(folder);
    atlases = PackTextures(model, Profile::Original, files, loader).atlases.size();
    files.Discard();
  }
  state.counters["atlases"] = static_cast<double>(atlases);
}
BENCHMARK(BM_PackSixtyFourTextures)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
