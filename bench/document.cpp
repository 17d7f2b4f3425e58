// The undo history on the 100 000-face craft (20 meshes of about 4 000 + 1 000 faces): what 100
// UPDATEs of one mesh keep, what an UPDATE and its undo cost, and undoing an OPT import of
// the whole craft.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "editing/document.h"
#include "editing/geometry_edits.h"
#include "editing/sample_craft.h"
#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

#include "bench/scratch.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

using tamsel::bench::Scratch;

// The craft's project, made once; its OPT file beside it.
const Model& Craft() {
  static Model model = [] {
    Model m;
    GenerateSample(m, Scratch() / "craft", {20, 4000, 64, 256});
    CreateOpt(m, 1);
    return m;
  }();
  return model;
}

double ResidentMB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Mesh 1 selected at its high level: what the mesh UPDATE moves.
void SelectFirstMesh(Document& doc) {
  for (std::size_t m = 0; m < doc.model().Meshes.size(); ++m) {
    const Boolean flag = m == 0 ? kTrue : kFalse;
    if (doc.model().Meshes[m].LODs[0].Selected != flag)
      doc.model().Meshes.Edit(m).LODs[0].Selected = flag;
  }
}

const Document::Edit kUpdate = [](Model& m) { UpdateSelectedMeshes(m, 0, {1, 100, 0.5, 0, 0}); };

void BM_HundredUpdatesOfOneMesh(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Document doc;
    doc.model() = Craft();
    SelectFirstMesh(doc);
    const double before = ResidentMB();
    state.ResumeTiming();
    doc.Apply("Mesh UPDATE", kUpdate);
    state.PauseTiming();
    // The first step may copy more than its mesh for a moment; the steps after it show
    // what each keeps.
    const double first = ResidentMB();
    state.ResumeTiming();
    for (int i = 1; i < 100; ++i) doc.Apply("Mesh UPDATE", kUpdate);
    state.PauseTiming();
    state.counters["resident_after_first_MB"] = first - before;
    const struct mallinfo2 heap = mallinfo2();
    state.counters["heap_in_use_MB"] = static_cast<double>(heap.uordblks + heap.hblkhd) / 1048576.0;
    state.counters["heap_free_MB"] = static_cast<double>(heap.fordblks) / 1048576.0;
    const double mesh = static_cast<double>(RecordBytes(doc.model().Meshes[0])) / 1048576.0;
    const double history = static_cast<double>(doc.HistoryBytes()) / 1048576.0;
    state.counters["mesh_MB"] = mesh;
    state.counters["history_MB"] = history;
    state.counters["history_per_mesh"] = history / mesh;
    state.counters["resident_added_MB"] = ResidentMB() - before;
    std::size_t faces = 0;
    for (const MeshRec& m : doc.model().Meshes)
      for (const LODRec& l : m.LODs) faces += l.Faces.size();
    state.counters["model_faces"] = static_cast<double>(faces);
    state.counters["mesh_faces"] = static_cast<double>(doc.model().Meshes[0].LODs[0].Faces.size() +
                                                       doc.model().Meshes[0].LODs[1].Faces.size());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HundredUpdatesOfOneMesh)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ApplyAndUndoMeshUpdate(benchmark::State& state) {
  Document doc;
  doc.model() = Craft();
  SelectFirstMesh(doc);
  for (auto _ : state) {
    doc.Apply("Mesh UPDATE", kUpdate);
    doc.Undo();
  }
}
BENCHMARK(BM_ApplyAndUndoMeshUpdate)->Unit(benchmark::kMillisecond);

void BM_UndoOptImportOfTheWholeCraft(benchmark::State& state) {
  const fs::path opt = OptFilePath(Craft());
  Document doc;
  fs::create_directories(Scratch() / "target");
  NewProject(doc.model(), Scratch() / "target");
  doc.Reset();
  doc.Apply("import .OPT", [&](Model& m) { ImportOpt(m, opt); });
  for (auto _ : state) {
    doc.Undo();
    state.PauseTiming();
    doc.Redo();
    state.ResumeTiming();
  }
  state.counters["faces_after_redo"] = static_cast<double>(TotalFaceCount(doc.model()));
}
BENCHMARK(BM_UndoOptImportOfTheWholeCraft)->Unit(benchmark::kMillisecond);

// One mesh of `faces` high-level faces (and a quarter as many low), in a craft of its own.
const Model& OneBigMesh(int faces) {
  static std::map<int, Model> made;
  auto [at, fresh] = made.try_emplace(faces);
  if (fresh)
    GenerateSample(at->second, Scratch() / ("big" + std::to_string(faces)), {1, faces, 1, 8});
  return at->second;
}

// Renaming is an edit of the mesh's own values: its step must cost what it changed, not the
// size of the mesh's faces.
void BM_RenameABigMesh(benchmark::State& state) {
  Document doc;
  doc.model() = OneBigMesh(static_cast<int>(state.range(0)));
  doc.Reset();
  int n = 0;
  for (auto _ : state) {
    const std::string name = "Hull " + std::to_string(++n);
    doc.Apply("Rename mesh", [&](Model& m) { RenameMesh(m, 0, name); });
  }
  state.counters["faces"] = static_cast<double>(TotalFaceCount(doc.model()));
}
BENCHMARK(BM_RenameABigMesh)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tamsel::bench::RunBenchmarks(argc, argv);
}
