#include "support/reference_scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

// Records the calls that matter to these tests.
struct Recorder : DrawSink {
  struct Shape {
    Primitive primitive;
    std::uint32_t name;
    int texture;
    std::array<int, 3> color;
    float lineWidth, pointSize;
    std::vector<std::array<float, 3>> vertices;
  };
  std::vector<Shape> shapes;
  std::uint32_t name = kNoName;
  int texture = -2;
  std::array<int, 3> color{};
  float lineWidth = 1, pointSize = 4;
  int cylinders = 0, binds = 0;
  bool blending = false;

  void LoadName(std::uint32_t n) override { name = n; }
  void Color(int r, int g, int b) override { color = {r, g, b}; }
  void ColorF(float r, float g, float b, float) override {
    color = {static_cast<int>(r * 255), static_cast<int>(g * 255), static_cast<int>(b * 255)};
  }
  void LineWidth(float w) override { lineWidth = w; }
  void PointSize(float s) override { pointSize = s; }
  void Begin(Primitive p) override {
    shapes.push_back({p, name, texture, color, lineWidth, pointSize, {}});
  }
  void TexCoord(float, float) override {}
  void Vertex(float x, float y, float z) override { shapes.back().vertices.push_back({x, y, z}); }
  void End() override {}
  void BindTexture(int t, bool) override { texture = t, ++binds; }
  void Texturing(bool) override {}
  void Blending(bool on) override { blending = on; }
  void DepthLessEqual(bool) override {}
  void CullFrontFaces(bool) override {}
  void DepthOnly(bool) override {}
  void Stipple(bool) override {}
  void Push() override {}
  void Pop() override {}
  void Translate(float, float, float) override {}
  void Rotate(float, float, float, float) override {}
  void Scale(float, float, float) override {}
  void Cylinder(double, double, double, bool, int, int) override { ++cylinders; }

  std::vector<Shape> Of(Primitive p) const {
    std::vector<Shape> out;
    for (const Shape& s : shapes)
      if (s.primitive == p) out.push_back(s);
    return out;
  }
};

Model TwoMeshes() {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0), "a.BMP"),
                Triangle(Corner(0, 0, 1), Corner(1, 0, 1), Corner(0, 1, 1), "b.BMP")},
               {Triangle(Corner(0, 0, 0), Corner(2, 0, 0), Corner(0, 2, 0), "a.BMP")}));
  model.Meshes.push_back(MeshWith(
      {Quad(Corner(5, 0, 0), Corner(6, 0, 0), Corner(6, 1, 0), Corner(5, 1, 0), "a.BMP")}));
  model.Textures.resize(2);
  model.Textures.Edit(0).Name = "a.BMP";
  model.Textures.Edit(1).Name = "b.BMP";
  model.Textures.Edit(1).TransOpacity = 51;
  return model;
}

TEST(Scene, MeshLevelNamesMeshesAndDrawsTrianglesWithThreeCorners) {
  Model model = TwoMeshes();
  model.Meshes.Edit(1).LODs[0].Selected = kTrue;
  ViewState view;
  Recorder r;
  SceneInputs in;
  in.focusedMesh = 1;
  const PickTable names = DrawScene(model, view, ColorSettings{}, in, r);
  const auto loops = r.Of(Primitive::LineLoop);
  ASSERT_EQ(loops.size(), 3u);
  EXPECT_EQ(loops[0].vertices.size(), 4u);
  EXPECT_EQ(loops[1].vertices.size(), 3u);
  EXPECT_EQ(names.Resolve(loops[1].name), (PickTarget{PickKind::Mesh, 0}));
  EXPECT_EQ(names.Resolve(loops[2].name), (PickTarget{PickKind::Mesh, 1}));
  EXPECT_EQ(loops[0].color, (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(loops[2].color, (std::array<int, 3>{0, 255, 0}));  // selected and focused: primary
  EXPECT_EQ(loops[2].lineWidth, 2.0f);
  // A centre point per mesh in wire mode, then the list ends white, width 1, size 4.
  EXPECT_EQ(r.Of(Primitive::Points).size(), 2u);
  EXPECT_EQ(r.color, (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(r.lineWidth, 1.0f);
  EXPECT_EQ(r.pointSize, 4.0f);
}

TEST(Scene, NamesResolveWhateverTheIdsAre) {
  Model model = TwoMeshes();
  // Ids past the old kind boundaries make no difference.
  model.Meshes.Edit(0).LODs[0].Id = 2000;
  model.Meshes.Edit(0).LODs[0].Faces[0].Id = 20000;
  model.Meshes.Edit(0).LODs[0].Faces[1].Id = 1500;
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  ViewState view;
  view.GeometryLevel = Geometry::Face;
  Recorder r;
  const PickTable names = DrawScene(model, view, ColorSettings{}, SceneInputs{}, r);
  const auto loops = r.Of(Primitive::LineLoop);
  EXPECT_EQ(names.Resolve(loops[0].name), (PickTarget{PickKind::Face, 0, 0}));
  EXPECT_EQ(names.Resolve(loops[1].name), (PickTarget{PickKind::Face, 0, 1}));
  EXPECT_EQ(names.Resolve(DrawSink::kNoName).kind, PickKind::None);
  EXPECT_EQ(names.Resolve(12345678).kind, PickKind::None);
}

TEST(Scene, TextureModeDrawsEveryFaceTwiceWithItsFlightGroupTexture) {
  Model model = TwoMeshes();
  model.Meshes.Edit(0).LODs[0].Faces[0].TextureNames = {"a.BMP", "b.BMP", kBlank, "missing.BMP",
                                                        ""};
  ViewState view;
  view.DisplayMode = Display::Texture;
  view.FlightGroupColor = 1;
  Recorder r;
  DrawScene(model, view, ColorSettings{}, SceneInputs{}, r);
  const auto polygons = r.Of(Primitive::Polygon);
  ASSERT_EQ(polygons.size(), 6u);     // three faces, two passes
  EXPECT_EQ(polygons[0].texture, 1);  // slot 1 (yellow) of the first face
  EXPECT_EQ(polygons[1].texture, 1);  // no variants: slot 0
  EXPECT_EQ(polygons[2].texture, 0);
  EXPECT_TRUE(r.Of(Primitive::Points).empty());  // no centre points in texture mode
  EXPECT_EQ(polygons[4].color[0], 255);

  view.FlightGroupColor = 2;  // slot 2 is BLANK: slot 0's texture
  Recorder blank;
  DrawScene(model, view, ColorSettings{}, SceneInputs{}, blank);
  EXPECT_EQ(blank.Of(Primitive::Polygon)[0].texture, 0);

  view.FlightGroupColor = 3;  // a texture not in the list: untextured, and no blended pass
  Recorder missing;
  DrawScene(model, view, ColorSettings{}, SceneInputs{}, missing);
  const auto drawn = missing.Of(Primitive::Polygon);
  EXPECT_EQ(drawn[0].texture, -1);
  EXPECT_EQ(drawn.size(), 5u);
}

TEST(Scene, VertexLevelShowsCornersOfSelectedFacesOfSelectedMeshesOnly) {
  Model model = TwoMeshes();
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[1].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[1].Vertices[2].Selected = kTrue;
  model.Meshes.Edit(1).LODs[0].Faces[0].Selected = kTrue;  // mesh 1 is not selected
  model.Meshes.Edit(0).LODs[0].Faces[1].Vertices[1].I = 0;
  model.Meshes.Edit(0).LODs[0].Faces[1].Vertices[1].K = 0;  // a zero normal: no line
  ViewState view;
  view.GeometryLevel = Geometry::Vertex;
  SceneInputs in;
  in.focusedCorner = CornerRef{0, 1, 2};
  Recorder r;
  const PickTable names = DrawScene(model, view, ColorSettings{}, in, r);
  const auto points = r.Of(Primitive::Points);
  ASSERT_EQ(points.size(), 3u);  // a triangle's three corners
  EXPECT_EQ(names.Resolve(points[2].name), (PickTarget{PickKind::Corner, 0, 1, 2}));
  EXPECT_EQ(points[2].pointSize, 10.0f);
  EXPECT_EQ(points[2].color, (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(points[0].pointSize, 4.0f);
  EXPECT_EQ(r.Of(Primitive::Lines).size(), 2u);  // normals of corners 0 and 2
}

TEST(Scene, MeshesWithoutTheLowLevelShowNothingAndCannotBePicked) {
  Model model = TwoMeshes();
  ViewState view;
  view.CurrentLOD = Detail::Low;
  Recorder r;
  const PickTable names = DrawScene(model, view, ColorSettings{}, SceneInputs{}, r);
  const auto loops = r.Of(Primitive::LineLoop);
  ASSERT_EQ(loops.size(), 1u);
  EXPECT_EQ(loops[0].vertices[1][0], 2.0f);
  for (std::size_t n = 0; n < names.size(); ++n)
    EXPECT_EQ(names.Resolve(static_cast<std::uint32_t>(n)).mesh, 0);
}

TEST(Scene, PanelOverlaysFollowThePanelAndTheFocusedSelectedMesh) {
  Model model = TwoMeshes();
  model.Meshes.Edit(0).EngineGlows.resize(2);
  model.Meshes.Edit(0).EngineGlows[0].Size = {2, 1, 3};  // the other has width 0: no cone
  model.Meshes.Edit(1).Hardpoints.resize(3);
  model.Meshes.Edit(1).Max = {1, 1, 1};
  model.Meshes.Edit(1).Span = {8, 0, 0};
  ViewState view;
  SceneInputs in;
  in.focusedMesh = 1;
  view.PropertyPanel = Panel::EngineGlow;
  Recorder glow;
  DrawScene(model, view, ColorSettings{}, in, glow);
  EXPECT_EQ(glow.cylinders, 2);
  view.PropertyPanel = Panel::Hardpoint;
  Recorder hp;
  DrawScene(model, view, ColorSettings{}, in, hp);
  EXPECT_EQ(hp.Of(Primitive::Points).size(), 2u + 3u);  // centre points and hardpoints
  view.PropertyPanel = Panel::Hitzone;
  Recorder unselected;
  DrawScene(model, view, ColorSettings{}, in, unselected);
  EXPECT_EQ(unselected.Of(Primitive::LineLoop).size(), 3u);  // faces only
  model.Meshes.Edit(1).LODs[0].Selected = kTrue;
  Recorder selected;
  DrawScene(model, view, ColorSettings{}, in, selected);
  const auto loops = selected.Of(Primitive::LineLoop);
  ASSERT_EQ(loops.size(), 3u + 12u);  // two boxes of six sides
  EXPECT_EQ(loops[3].color, (std::array<int, 3>{128, 128, 255}));
  EXPECT_EQ(loops.back().vertices[0][0], -2.0f);  // target cube: half-size max span / 4
}

TEST(Selection, PickReplacesOrAddsAndAnEmptyPickClearsTheLevel) {
  Model model = TwoMeshes();
  ApplyPick(model, 0, PickKind::Mesh, {PickKind::Mesh, 0}, false);
  EXPECT_EQ(ApplyPick(model, 0, PickKind::Mesh, {PickKind::Mesh, 1}, true),
            (PickTarget{PickKind::Mesh, 1}));
  EXPECT_TRUE(model.Meshes[0].LODs[0].Selected && model.Meshes[1].LODs[0].Selected);
  ApplyPick(model, 0, PickKind::Mesh, {PickKind::Mesh, 1}, false);
  EXPECT_FALSE(model.Meshes[0].LODs[0].Selected);

  // A face of an unselected mesh selects the mesh with it; without shift it replaces the
  // faces chosen before, and the meshes chosen before stay.
  ApplyPick(model, 0, PickKind::Face, {PickKind::Face, 1, 0}, false);
  EXPECT_TRUE(model.Meshes[1].LODs[0].Faces[0].Selected);
  EXPECT_EQ(ApplyPick(model, 0, PickKind::Face, {PickKind::Face, 0, 1}, false),
            (PickTarget{PickKind::Face, 0, 1}));
  EXPECT_TRUE(model.Meshes[0].LODs[0].Selected);
  EXPECT_TRUE(model.Meshes[0].LODs[0].Faces[1].Selected);
  EXPECT_TRUE(model.Meshes[1].LODs[0].Selected);
  EXPECT_FALSE(model.Meshes[1].LODs[0].Faces[0].Selected);
  // A corner likewise brings its mesh and its face.
  ApplyPick(model, 0, PickKind::Mesh, {}, false);
  EXPECT_EQ(ApplyPick(model, 0, PickKind::Corner, {PickKind::Corner, 1, 0, 2}, true),
            (PickTarget{PickKind::Corner, 1, 0, 2}));
  EXPECT_TRUE(model.Meshes[1].LODs[0].Selected);
  EXPECT_TRUE(model.Meshes[1].LODs[0].Faces[0].Selected);
  EXPECT_TRUE(model.Meshes[1].LODs[0].Faces[0].Vertices[2].Selected);
  EXPECT_FALSE(model.Meshes[1].LODs[0].Faces[0].Vertices[1].Selected);

  // No hits clears the current level only, shift or not.
  ApplyPick(model, 0, PickKind::Face, {PickKind::Face, 1, 0}, false);
  ApplyPick(model, 0, PickKind::Mesh, {}, true);
  EXPECT_FALSE(model.Meshes[1].LODs[0].Selected);
  EXPECT_TRUE(model.Meshes[1].LODs[0].Faces[0].Selected);
}

TEST(Selection, CornerRowsListThreeCornersForATriangleAndFourForAQuad) {
  Model model = TwoMeshes();
  model.Meshes.Edit(0).LODs[0].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[0].Selected = kTrue;
  model.Meshes.Edit(0).LODs[0].Faces[1].Selected = kTrue;
  EXPECT_EQ(CornerRows(model, 0).size(), 7u);
  EXPECT_EQ(FaceRows(model, 0).size(), 2u);
  EXPECT_EQ(FaceRows(model, 1).size(), 0u);  // the low level is not selected
  EXPECT_EQ(ApplyPick(model, 0, PickKind::Corner, {PickKind::Corner, 0, 1, 3}, false).kind,
            PickKind::None)
      << "corner 3 of a triangle is not a corner of its own";
  EXPECT_EQ(FaceAt(model, 0, {0, 2}), nullptr);
  EXPECT_EQ(CornerAt(model, 1, {1, 0, 0}), nullptr);
}

TEST(Grid, SpacingFollowsTheZoomInPowersOfTen) {
  EXPECT_EQ(GridSpacing(10), 1);
  EXPECT_EQ(GridSpacing(100), 10);
  EXPECT_NEAR(GridSpacing(1), 0.1, 1e-12);
  EXPECT_EQ(GridSpacing(0), 1) << "a collapsed view still has a spacing";
  for (double e : {0.3, 7.0, 45.0, 3000.0}) {
    const double across = 2 * e / GridSpacing(e);
    EXPECT_GE(across, 4) << e;
    EXPECT_LE(across, 40) << e;
  }
}

TEST(Grid, LinesLieOnTheSpacingUnderTheCraftEveryTenthBrighter) {
  Model m;
  m.ModelMin = {-3, -4, -2};
  m.ModelMax = {3, 4, 2};
  m.ModelCenter = {0, 0, 0};
  Recorder r;
  DrawGrid(m, 10, r);
  ASSERT_EQ(r.shapes.size(), 2u);
  int lines = 0;
  for (const auto& shape : r.shapes) {
    EXPECT_EQ(shape.primitive, Primitive::Lines);
    const bool bright = shape.color[0] == 90;
    for (std::size_t v = 0; v + 1 < shape.vertices.size(); v += 2) {
      const auto &a = shape.vertices[v], &b = shape.vertices[v + 1];
      EXPECT_GT(a[2], 2.0f) << "under the craft's bottom (+Z)";
      // A line runs along X or along Y, at a multiple of the spacing (1 at this zoom).
      const float at = a[0] == b[0] ? a[0] : a[1];
      EXPECT_EQ(at, std::round(at));
      EXPECT_EQ(static_cast<long>(std::round(at)) % 10 == 0, bright) << at;
      ++lines;
    }
  }
  EXPECT_GE(lines, 2 * 40);  // 20 units each way from the centre, both directions
}

}  // namespace
}  // namespace tamsel
