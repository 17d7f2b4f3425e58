// The viewport on a generated craft of 100 000 faces (16 meshes of 5 000 faces at the high
// level and 1 250 at the low) and 64 textures, then on one of 200 000: picks, the display
// update after a pick, frames against the floor of this renderer (the same triangles and
// lines from one vertex buffer, grouped by texture), rebuilds, and tool-bar switches.
// Needs a display (run under xvfb-run, see README). TAMSEL_VIEW_FACES chooses another size.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <QToolButton>
#include "app/project_commands.h"
#include "app/qt_dialogs.h"
#include "app/tamsel_window.h"
#include "app/viewport_link.h"
#include "editing/sample_craft.h"
#include "model/project.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace fs = std::filesystem;
using namespace tamsel;

namespace {

TamselWindow* window = nullptr;
fs::path scratch;

void Open(const SampleOptions& o, const std::string& name) {
  Model craft;
  GenerateSample(craft, scratch / name, o);
  window->Files().OpenProjectFile(QString::fromStdString(ProjectFilePath(scratch / name).string()));
  // Every mesh selected, so the face level shows every face's point and normal.
  for (MeshRec& mesh : window->Model().Meshes.EditAll()) mesh.LODs[0].Selected = kTrue;
  window->Viewport().Navigation().ViewPreset("top");
  window->Viewport().Navigation().Fit();
}

// Range 0 chooses the mode (0 wire, 1 textured), range 1 the level (0 mesh, 1 face, 2
// vertex: the faces of mesh 0 selected, so that their corners show).
void SetView(const benchmark::State& state) {
  ViewState& v = window->View();
  v.DisplayMode = state.range(0) ? tamsel::Display::Texture : tamsel::Display::Wire;
  const std::int64_t level = state.range(1);
  v.GeometryLevel = level == 0 ? Geometry::Mesh : level == 1 ? Geometry::Face : Geometry::Vertex;
  if (level == 2)
    for (FaceRec& f : window->Model().Meshes.Edit(0).LODs[0].Faces) f.Selected = kTrue;
  window->Viewport().Drawing().Sync();
}

// A point on mesh m's middle, where its faces crowd.
QPoint OnMesh(std::size_t m) {
  GlViewportWidget& ctl = window->ViewportWidget();
  const Single3& c = window->Model().Meshes[m].LODs[0].BoxCenter;
  const Matrix4 t =
      Multiply(ctl.Camera().Projection(ctl.width(), ctl.height()), ctl.Camera().ModelView());
  const double x = t[0] * c.x + t[4] * c.y + t[8] * c.z + t[12],
               y = t[1] * c.x + t[5] * c.y + t[9] * c.z + t[13];
  return {static_cast<int>((x + 1) / 2 * ctl.width()),
          static_cast<int>((1 - y) / 2 * ctl.height())};
}
QPoint OnMesh0() {
  return OnMesh(0);
}

void BM_SelectionPass(benchmark::State& state) {
  SetView(state);
  const QPoint at = OnMesh0();
  for (auto _ : state) benchmark::DoNotOptimize(window->Viewport().Picker().PickAt(at.x(), at.y()));
}
BENCHMARK(BM_SelectionPass)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// A click: the pick, the selection, the lists and panels, and the scene's update. Clicks
// go to mesh 0 and mesh 1 in turn, so that each changes the selection (at the face level
// in selected meshes, at the corner level in selected faces).
void BM_PickWithRebuild(benchmark::State& state) {
  SetView(state);
  if (state.range(1) == 2)
    for (FaceRec& f : window->Model().Meshes.Edit(1).LODs[0].Faces) f.Selected = kTrue;
  window->Viewport().Drawing().Sync();
  const QPoint at[2] = {OnMesh(0), OnMesh(1)};
  int n = 0;
  for (auto _ : state) {
    const QPoint p = at[n++ % 2];
    window->Viewport().Click(Qt::RightButton, {}, p);
    glFinish();
  }
  for (MeshRec& mesh : window->Model().Meshes.EditAll()) mesh.LODs[0].Selected = kTrue;
}
BENCHMARK(BM_PickWithRebuild)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// The pick on mesh 0 within the craft, and with every other mesh gone.
void BM_PickOneMesh(benchmark::State& state) {
  SetView(state);
  const QPoint at = OnMesh0();
  Model& model = window->Model();
  const Model full = model;
  if (state.range(2)) model.Meshes.KeepIf([](std::size_t m) { return m == 0; });
  for (auto _ : state) benchmark::DoNotOptimize(window->Viewport().Picker().PickAt(at.x(), at.y()));
  model = full;
}
BENCHMARK(BM_PickOneMesh)
    ->Args({1, 1, 0})
    ->Args({1, 1, 1})
    ->Args({0, 1, 0})
    ->Args({0, 1, 1})
    ->Unit(benchmark::kMillisecond);

void DrawOneFrame() {
  GlViewportWidget& ctl = window->ViewportWidget();
  GlViewportWidget::ContextScope scope(ctl);
  ctl.ApplyCamera();
  window->Viewport().Draw();
  glFinish();
}

void BM_DrawFrame(benchmark::State& state) {
  SetView(state);
  for (auto _ : state) DrawOneFrame();
}
BENCHMARK(BM_DrawFrame)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The floor: the frame's triangles (textured: grouped by texture, twice, the second pass
// blended) or lines, and at the face level its points and normal lines, from one vertex
// buffer.
void BM_BareFrame(benchmark::State& state) {
  SetView(state);
  const bool textured = state.range(0) != 0, faceLevel = state.range(1) != 0;
  GlViewportWidget& ctl = window->ViewportWidget();
  GlViewportWidget::ContextScope scope(ctl);
  QOpenGLExtraFunctions& gl = *QOpenGLContext::currentContext()->extraFunctions();
  const Model& model = window->Model();
  const TextureLookup lookup(model.Textures);
  std::map<int, std::vector<float>> groups;  // u, v, x, y, z per corner
  std::vector<float> lines, points;
  const auto put = [](std::vector<float>& to, const VertexRec& v) {
    to.insert(to.end(), {v.U, v.V, v.X, v.Y, v.Z});
  };
  for (const MeshRec& mesh : model.Meshes)
    for (const FaceRec& f : mesh.LODs[0].Faces) {
      const int n = f.CornerCount();
      if (textured) {
        std::vector<float>& g = groups[lookup.Find(ShownTextureName(f, 0))];
        for (int k = 1; k + 1 < n; ++k)
          for (int c : {0, k, k + 1}) put(g, f.Vertices[static_cast<std::size_t>(c)]);
      } else {
        for (int k = 0; k < n; ++k)
          for (int c : {k, (k + 1) % n}) put(lines, f.Vertices[static_cast<std::size_t>(c)]);
      }
      if (faceLevel) {
        VertexRec centre;
        centre.X = f.BoxCenter.x, centre.Y = f.BoxCenter.y, centre.Z = f.BoxCenter.z;
        if (!textured) put(points, centre);
        VertexRec tip = f.Vertices[0];
        tip.X += f.Normal.x * 30, tip.Y += f.Normal.y * 30, tip.Z += f.Normal.z * 30;
        put(lines, f.Vertices[0]);
        put(lines, tip);
      }
    }
  std::vector<float> all;
  struct Run {
    int texture;
    GLint first;
    GLsizei count;
  };
  std::vector<Run> runs;
  for (const auto& [t, g] : groups) {
    runs.push_back({t, static_cast<GLint>(all.size() / 5), static_cast<GLsizei>(g.size() / 5)});
    all.insert(all.end(), g.begin(), g.end());
  }
  const GLint lineFirst = static_cast<GLint>(all.size() / 5);
  all.insert(all.end(), lines.begin(), lines.end());
  const GLint pointFirst = static_cast<GLint>(all.size() / 5);
  all.insert(all.end(), points.begin(), points.end());
  GLuint buffer = 0;
  gl.glGenBuffers(1, &buffer);
  gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
  gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(all.size() * sizeof(float)), all.data(),
                  GL_STATIC_DRAW);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), nullptr);
  glVertexPointer(3, GL_FLOAT, 5 * sizeof(float), reinterpret_cast<void*>(2 * sizeof(float)));
  for (auto _ : state) {
    ClearScreen();
    ctl.ApplyCamera();
    if (textured) {
      glEnable(GL_TEXTURE_2D);
      for (int pass = 0; pass < 2; ++pass) {
        if (pass) glEnable(GL_BLEND);
        for (const Run& r : runs) {
          glBindTexture(GL_TEXTURE_2D,
                        window->Viewport().Drawing().Textures().Id(r.texture, pass == 1));
          glDrawArrays(GL_TRIANGLES, r.first, r.count);
        }
      }
      glDisable(GL_BLEND);
      glDisable(GL_TEXTURE_2D);
    }
    glDrawArrays(GL_LINES, lineFirst, pointFirst - lineFirst);
    glDrawArrays(GL_POINTS, pointFirst, static_cast<GLsizei>(points.size() / 5));
    glFinish();
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
  gl.glDeleteBuffers(1, &buffer);
}
BENCHMARK(BM_BareFrame)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Every part compiled afresh, against the scene's update after an UPDATE of one 5 000-face
// mesh (its record replaced by a moved copy, as the document's edit leaves it).
void BM_FullRebuild(benchmark::State& state) {
  SetView(state);
  for (auto _ : state) {
    window->Viewport().Drawing().DropParts();
    window->Viewport().Drawing().Compile();
    glFinish();
  }
}
BENCHMARK(BM_FullRebuild)->ArgsProduct({{0, 1}, {0}})->Unit(benchmark::kMillisecond);

void BM_RebuildAfterUpdate(benchmark::State& state) {
  SetView(state);
  Model& model = window->Model();
  float x = 1;
  for (auto _ : state) {
    state.PauseTiming();
    x = -x;
    const Model before = model;  // the history's copy: the edit makes a new record
    for (LODRec& lod : model.Meshes.Edit(0).LODs)
      for (FaceRec& f : lod.Faces)
        for (VertexRec& v : f.Vertices) v.X += x;
    state.ResumeTiming();
    window->Viewport().Drawing().Compile();
    glFinish();
  }
}
BENCHMARK(BM_RebuildAfterUpdate)->ArgsProduct({{0, 1}, {0}})->Unit(benchmark::kMillisecond);

// On the 200 000-face craft: a click on a display tool-bar button, with the scene brought
// up to date; the frame that follows is timed apart (frame_ms), as it costs what
// BM_DrawFrame shows whatever the switch did. First: the parts of that mode are gone (as
// on the first switch to it); back: the mode was shown before.
double frameSeconds = 0;
QToolButton* DisplayButton(const char* key) {
  return window->findChild<QToolButton*>(QString("dispbar_") + QString(key).replace(' ', '_'));
}
void Switch(benchmark::State* timed, const char* key) {
  DisplayButton(key)->click();
  {
    GlViewportWidget::ContextScope scope(window->ViewportWidget());
    glFinish();
  }
  if (timed) timed->PauseTiming();
  const auto start = std::chrono::steady_clock::now();
  DrawOneFrame();
  frameSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (timed) timed->ResumeTiming();
}

const std::pair<const char*, const char*> kSwitches[] = {
    {"texture", "wireframe"}, {"low level", "high level"}, {"wireframe", "texture"}};

void BM_SwitchFirst(benchmark::State& state) {
  static bool opened = false;
  if (!opened) Open({32, 5000, 64, 256}, "big"), opened = true;
  const auto& [to, from] = kSwitches[state.range(0)];
  for (auto _ : state) {
    state.PauseTiming();
    DisplayButton(from)->click();
    window->Viewport().Drawing().DropParts();
    window->Viewport().Drawing().Compile();
    state.ResumeTiming();
    Switch(&state, to);
  }
  state.counters["faces"] = static_cast<double>(TotalFaceCount(window->Model()));
  state.counters["frame_ms"] = frameSeconds * 1000;
}
BENCHMARK(BM_SwitchFirst)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

// Switching to a mode shown before and back: the time is for the two switches.
void BM_SwitchBack(benchmark::State& state) {
  const auto& [to, from] = kSwitches[state.range(0)];
  Switch(nullptr, to);
  Switch(nullptr, from);
  for (auto _ : state) {
    Switch(&state, to);
    Switch(&state, from);
  }
  state.counters["frame_ms"] = frameSeconds * 1000;
}
BENCHMARK(BM_SwitchBack)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SwitchColour(benchmark::State& state) {
  DisplayButton("texture")->click();
  window->View().GeometryLevel = Geometry::Face;
  int colour = 0;
  for (auto _ : state) {
    colour = (colour + 1) % 4;
    window->View().FlightGroupColor = static_cast<std::int16_t>(colour);
    window->Viewport().Drawing().Sync();
    glFinish();
  }
}
BENCHMARK(BM_SwitchColour)->Unit(benchmark::kMillisecond)->Iterations(8);

// File > Open of the craft in the running window, to its next frame: what a user waits for
// past the file dialog (the project is read then, not ahead as from the command line).
// Last, as it leaves the craft as opened.
void BM_OpenThroughTheMenu(benchmark::State& state) {
  const QString project = QString::fromStdString(ProjectFilePath(scratch / "craft").string());
  for (auto _ : state) {
    const int frames = window->Link().FramesDrawn();
    window->Files().OpenProjectFile(project);
    (void)QTest::qWaitFor([&] { return window->Link().FramesDrawn() > frames; }, 60000);
  }
}
BENCHMARK(BM_OpenThroughTheMenu)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  GlViewportWidget::SetDefaultFormat();
  QApplication app(argc, argv);
  scratch =
      fs::temp_directory_path() / ("tamsel-bench-view-" + std::to_string(std::random_device{}()));
  QtDialogs dialogs;
  TamselWindow w(dialogs);
  window = &w;
  w.resize(1280, 960);
  w.Startup();
  (void)QTest::qWaitForWindowExposed(&w);
  (void)QTest::qWaitFor([&] { return w.Link().FramesDrawn() > 0; }, 10000);
  // TAMSEL_VIEW_FACES=1000000 runs the same figures on a craft of that many faces instead
  // (meshes of 5 000 + 1 250 faces, as many as it takes).
  const char* faces = std::getenv("TAMSEL_VIEW_FACES");
  const int meshes = faces ? std::max(1, std::atoi(faces) / 6250) : 16;
  Open({meshes, 5000, 64, 256}, "craft");
  std::printf("craft: %lld faces, %d meshes, %d textures\n",
              static_cast<long long>(TotalFaceCount(w.Model())), w.Model().MeshCount(),
              w.Model().TextureCount());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(scratch, ec);
  return 0;
}
