// The viewport on a generated craft of about 100 000 faces and 64 textures: compiling the
// scene in wire and textured mode against a bare compile of the same primitives, one
// pick (selection pass alone, and with Pick's own rebuild), and one frame. Needs a display
// (run under xvfb-run, see README).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <random>

#include "app/qt_dialogs.h"
#include "app/tamsel_window.h"
#include "editing/sample_craft.h"
#include "model/project.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

TamselWindow* window = nullptr;

// The same faces with nothing but their corners (and, when named, a pick name each): one
// primitive per face, `times` over.
void BareCompile(int times, GLenum mode, bool named) {
  GlxCtl::ContextScope scope(window->Renderscreen());
  glNewList(CXXX::kSceneList, GL_COMPILE);
  for (int t = 0; t < times; ++t)
    for (const MeshRec& mesh : window->Model().Meshes)
      for (const FaceRec& face : mesh.LODs[0].Faces) {
        if (named) glLoadName(static_cast<GLuint>(face.Id));
        glBegin(mode);
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          glTexCoord2f(v.U, v.V);
          glVertex3f(v.X, v.Y, v.Z);
        }
        glEnd();
      }
  glEndList();
  glFinish();
}

// Range 1 of a benchmark chooses the geometry level: 0 mesh (names per mesh), 1 face
// (names per face, and a named centre point per face in wire mode).
void SetMode(const char* mode, std::int64_t faceLevel = 0) {
  window->View().DisplayMode = mode;
  window->View().GeometryLevel = faceLevel ? "face" : "mesh";
}

void BM_BareCompileOnce(benchmark::State& state) {
  for (auto _ : state) BareCompile(1, GL_LINE_STRIP, state.range(0) != 0);
}
BENCHMARK(BM_BareCompileOnce)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CreateCallWire(benchmark::State& state) {
  SetMode("wire", state.range(0));
  for (auto _ : state) {
    window->Viewport().CreateCall();
    glFinish();
  }
  state.counters["names"] = static_cast<double>(window->Viewport().Names().size());
}
BENCHMARK(BM_CreateCallWire)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareCompileTwice(benchmark::State& state) {
  for (auto _ : state) BareCompile(2, GL_POLYGON, state.range(0) != 0);
}
BENCHMARK(BM_BareCompileTwice)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CreateCallTextured(benchmark::State& state) {
  SetMode("texture", state.range(0));
  for (auto _ : state) {
    window->Viewport().CreateCall();
    glFinish();
  }
}
BENCHMARK(BM_CreateCallTextured)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SelectionPass(benchmark::State& state) {
  SetMode("wire", state.range(0));
  window->Viewport().CreateCall();
  GlxCtl& ctl = window->Renderscreen();
  // Without a secondary press Pick ignores the hits: this is the selection pass alone.
  for (auto _ : state) ctl.PickAt(ctl.width() / 2, ctl.height() / 2);
}
BENCHMARK(BM_SelectionPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PickWithRebuild(benchmark::State& state) {
  SetMode("wire", state.range(0));
  window->Viewport().CreateCall();
  GlxCtl& ctl = window->Renderscreen();
  window->Viewport().MouseDown(2, 0, 0, 0);
  for (auto _ : state) ctl.PickAt(ctl.width() / 2, ctl.height() / 2);
}
BENCHMARK(BM_PickWithRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DrawFrame(benchmark::State& state) {
  SetMode(state.range(0) ? "texture" : "wire", state.range(1));
  window->Viewport().CreateCall();
  GlxCtl& ctl = window->Renderscreen();
  for (auto _ : state) {
    GlxCtl::ContextScope scope(ctl);
    ctl.ApplyCamera();
    window->Viewport().Draw();
    glFinish();
  }
}
BENCHMARK(BM_DrawFrame)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  GlxCtl::SetDefaultFormat();
  QApplication app(argc, argv);
  const fs::path dir =
      fs::temp_directory_path() / ("tamsel-bench-view-" + std::to_string(std::random_device{}()));
  Model craft;
  GenerateSample(craft, dir, {10, 8000, 64, 256});
  QtDialogs dialogs;
  TamselWindow w(dialogs);
  window = &w;
  w.Startup();
  (void)QTest::qWaitForWindowExposed(&w);
  (void)QTest::qWaitFor([&] { return w.FramesDrawn() > 0; }, 10000);
  w.OpenProjectFile(QString::fromStdString(ProjectFilePath(dir).string()));
  // Every mesh selected, so the face level names every face.
  for (MeshRec& mesh : w.Model().Meshes.EditAll()) mesh.LODs[0].Selected = kTrue;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}
