// The CPU pick against GL's selection pass, the reference: at many random points of
// several views, levels and modes both must choose the same element, or both nothing, or
// both only unnamed things. Where they differ, GL's two nearest candidates must lie closer
// in depth than a small epsilon (selection takes depth from clipped vertices in single
// precision); those cases are counted and printed.
#include <QAction>
#include <algorithm>
#include <random>

#include "app/project_commands.h"
#include "app/window_shell.h"
#include "editing/sample_craft.h"
#include "gui/project_fixture.h"
#include "model/project.h"
#include "support/gl_selection_pass.h"

namespace tamsel::test {
namespace {

struct Reference {
  PickOutcome::Kind kind = PickOutcome::NoHit;
  PickTarget target;
  std::uint32_t nearest = 0, second = 0xFFFFFFFFu;  // depths of the two nearest targets
};

// The selection pass's choice: the nearest named record, ties to the first.
Reference Decode(const std::vector<std::int32_t>& items, const PickTable& names) {
  Reference r;
  std::vector<std::pair<std::uint32_t, PickTarget>> named;
  for (std::size_t pos = 0; pos + 3 <= items.size();) {
    const auto count = static_cast<std::uint32_t>(items[pos]);
    const auto depth = static_cast<std::uint32_t>(items[pos + 1]);
    for (std::uint32_t k = 0; k < count; ++k) {
      const PickTarget t = names.Resolve(static_cast<std::uint32_t>(items[pos + 3 + k]));
      if (t.kind != PickKind::None) named.push_back({depth, t});
    }
    pos += 3 + count;
  }
  if (items.empty()) return r;
  r.kind = named.empty() ? PickOutcome::Unnamed : PickOutcome::Named;
  for (std::size_t i = 0; i < named.size(); ++i)
    if (i == 0 || named[i].first < r.nearest)
      r.nearest = named[i].first, r.target = named[i].second;
  for (const auto& [depth, t] : named)
    if (!(t == r.target)) r.second = std::min(r.second, depth);
  return r;
}

class PickEquivalenceTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Model craft;
    GenerateSample(craft, dir.path() / "craft", {3, 120, 2, 8});
    ASSERT_TRUE(window->Files().OpenProjectFile(
        QString::fromStdString(ProjectFilePath(dir.path() / "craft").string())));
    window->resize(1100,
                   640);  // a viewport taller than wide: orthographic edges land on pixel bounds
    QTest::qWait(50);
    reference = std::make_unique<ReferenceSceneList>(window->ViewportWidget());
    Action("showgizmomenu")->setChecked(false);  // an overlay of the window, not of the scene
  }
  void TearDown() override {
    reference.reset();  // its list lives in the window's context
    WindowTest::TearDown();
  }
  // The view options a case draws with; vectors: the face level's software vectors shown.
  void Show(Display mode, Geometry level, Panel panel, bool vectors) {
    ViewState& v = window->View();
    v.DisplayMode = mode;
    v.GeometryLevel = level;
    v.PropertyPanel = panel;
    v.GeometrySubPanel = vectors ? GeometrySub::Texture : GeometrySub::Geometry;
  }
  // The reference scene of what the window shows now.
  void CompileReference() {
    ASSERT_TRUE(reference->Compile(window->Model(), window->View(), window->Colors(),
                                   window->Link().CurrentSceneInputs(),
                                   window->Viewport().Drawing().Textures()));
  }
  TempDir dir;
  std::unique_ptr<ReferenceSceneList> reference;
};

TEST_F(PickEquivalenceTest, TheCpuPickChoosesWhatTheSelectionPassChooses) {
  std::mt19937 random(12345);
  GlViewportWidget& ctl = window->ViewportWidget();
  ViewportController& viewport = window->Viewport();
  int compared = 0, named = 0, withinEpsilon = 0, onEdge = 0;
  constexpr double kEpsilon = 1e-4 * 4294967295.0;
  // Everything selected at the high level, the faces of the first mesh too, so that
  // points, normals and vectors all take part.
  for (MeshRec& mesh : window->Model().Meshes.EditAll())
    for (LODRec& lod : mesh.LODs) lod.Selected = kTrue;
  for (FaceRec& f : window->Model().Meshes.Edit(0).LODs[0].Faces) f.Selected = kTrue;
  for (const char* preset : {"perspective", "top", "right", "front", "turned"}) {
    for (Display mode : {Display::Wire, Display::Texture})
      for (Geometry level : {Geometry::Mesh, Geometry::Face, Geometry::Vertex})
        for (bool shown : {true, false}) {
          Show(mode, level, shown ? Panel::Hardpoint : Panel::Geometry, shown);
          window->View().NormalsShown = shown;
          viewport.Navigation().ViewPreset(preset == std::string("turned") ? "perspective"
                                                                           : preset);
          if (preset == std::string("turned")) {
            ctl.Camera().RotateY(std::uniform_real_distribution<double>(0, 360)(random));
            ctl.Camera().RotateX(std::uniform_real_distribution<double>(0, 360)(random));
          }
          viewport.Navigation().Fit();
          CompileReference();  // the reference scene with its names
          std::uniform_int_distribution<int> px(0, ctl.width() - 1), py(0, ctl.height() - 1);
          // Half the points anywhere, half on or beside a corner of the model, where edges,
          // points and faces crowd.
          const Matrix4 m = Multiply(ctl.Camera().Projection(ctl.width(), ctl.height()),
                                     ctl.Camera().ModelView());
          std::vector<const VertexRec*> corners;
          for (const MeshRec& mesh : window->Model().Meshes)
            for (const FaceRec& f : mesh.LODs[0].Faces) corners.push_back(&f.Vertices[0]);
          std::uniform_int_distribution<std::size_t> pick(0, corners.size() - 1);
          std::uniform_int_distribution<int> jitter(-3, 3);
          for (int n = 0; n < 40; ++n) {
            int x = px(random), y = py(random);
            if (n % 2) {
              const VertexRec& c = *corners[pick(random)];
              const double cx = m[0] * c.X + m[4] * c.Y + m[8] * c.Z + m[12],
                           cy = m[1] * c.X + m[5] * c.Y + m[9] * c.Z + m[13];
              x = static_cast<int>((cx + 1) / 2 * ctl.width()) + jitter(random);
              y = static_cast<int>((1 - cy) / 2 * ctl.height()) + jitter(random);
            }
            const auto items = SelectionPass(ctl, x, y, [&] { reference->Call(); });
            ASSERT_TRUE(items.has_value());
            const Reference gl = Decode(*items, reference->Names());
            const PickOutcome cpu = viewport.Picker().PickAt(x, y);
            ++compared;
            named += gl.kind == PickOutcome::Named;
            const std::string where = std::string(preset) +
                                      (mode == Display::Texture ? " texture " : " wire ") +
                                      std::string(GeometryKey(level)) + (shown ? " normals" : "") +
                                      " at " + std::to_string(x) + "," + std::to_string(y);
            // An element lying exactly on the pick square's edge is inside for one and outside
            // for the other, as rounding falls: a square a hundredth of a pixel smaller or
            // larger must then agree with GL.
            if (cpu.kind != gl.kind ||
                (cpu.kind == PickOutcome::Named && !(cpu.target == gl.target))) {
              const PickOutcome inner =
                  viewport.Picker().PickAt(x, y, GlViewportWidget::kPickSize - 0.01);
              const PickOutcome outer =
                  viewport.Picker().PickAt(x, y, GlViewportWidget::kPickSize + 0.01);
              const auto agrees = [&](const PickOutcome& o) {
                return o.kind == gl.kind && (o.kind != PickOutcome::Named || o.target == gl.target);
              };
              if (agrees(inner) || agrees(outer)) {
                ++onEdge;
                continue;
              }
            }
            ASSERT_EQ(cpu.kind, gl.kind) << where;
            if (cpu.kind != PickOutcome::Named || cpu.target == gl.target) continue;
            EXPECT_LT(static_cast<double>(gl.second) - gl.nearest, kEpsilon) << where;
            ++withinEpsilon;
          }
        }
  }
  std::printf(
      "pick equivalence: %d points, %d named hits, %d differ within epsilon, %d on the "
      "square's edge\n",
      compared, named, withinEpsilon, onEdge);
  EXPECT_LT(onEdge, compared / 100) << "edge cases are rare, not the rule";
  EXPECT_GT(named, compared / 4) << "too few points hit anything to compare";
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

// The frames the parts draw against the frames of the reference scene: the same pixels
// but where faces at equal depth come in another order.
TEST_F(PickEquivalenceTest, TheLayeredSceneDrawsWhatTheReferenceSceneDraws) {
  GlViewportWidget& ctl = window->ViewportWidget();
  ViewportController& viewport = window->Viewport();
  for (MeshRec& mesh : window->Model().Meshes.EditAll()) mesh.LODs[0].Selected = kTrue;
  auto& faces = window->Model().Meshes.Edit(1).LODs[0].Faces;
  for (std::size_t f = 0; f < faces.size(); f += 3) faces[f].Selected = kTrue;
  for (std::size_t f = 0; f < faces.size(); f += 5) faces[f].Vertices[1].Selected = kTrue;
  for (Display mode : {Display::Wire, Display::Texture})
    for (Geometry level : {Geometry::Mesh, Geometry::Face, Geometry::Vertex})
      for (Panel panel : {Panel::Geometry, Panel::Hitzone}) {
        Show(mode, level, panel, panel == Panel::Hitzone);
        viewport.Navigation().ViewPreset("perspective");
        viewport.Navigation().Fit();
        CompileReference();
        const QImage drawn = FrameDrawnBy(ctl, [&] { reference->Call(); });
        ASSERT_TRUE(viewport.Drawing().Compile());
        const QImage layered = ctl.grabFramebuffer();
        ASSERT_EQ(drawn.size(), layered.size());
        // A selected face's edge shared with an unselected one showed the colour of the face
        // drawn first; now it always shows the selection colour. Those pixels are not
        // counted as different.
        const ColorSettings& c = window->Colors();
        const QRgb white = qRgb(255, 255, 255);
        const QRgb marked[2] = {qRgb(c.PrimarySelectWireColor.R, c.PrimarySelectWireColor.G,
                                     c.PrimarySelectWireColor.B),
                                qRgb(c.SecondarySelectWireColor.R, c.SecondarySelectWireColor.G,
                                     c.SecondarySelectWireColor.B)};
        long differ = 0, lit = 0, selectionColoured = 0;
        for (int y = 0; y < drawn.height(); ++y)
          for (int x = 0; x < drawn.width(); ++x) {
            const QRgb r = drawn.pixel(x, y) | 0xFF000000u, l = layered.pixel(x, y) | 0xFF000000u;
            lit += r != qRgb(0, 0, 0);
            if (r == l) continue;
            if (r == white && (l == marked[0] || l == marked[1]))
              ++selectionColoured;
            else
              ++differ;
          }
        const std::string where = std::string(mode == Display::Texture ? "texture " : "wire ") +
                                  std::string(GeometryKey(level)) +
                                  (panel == Panel::Hitzone ? " hitzone" : " geometry");
        std::printf("%s: %ld of %ld lit pixels differ, %ld now in the selection colour\n",
                    where.c_str(), differ, lit, selectionColoured);
        EXPECT_GT(lit, 1000) << where << ": the model is not in view";
        EXPECT_LE(differ, lit / 50) << where << ": " << differ << " of " << lit << " pixels";
      }
}

}  // namespace
}  // namespace tamsel::test
