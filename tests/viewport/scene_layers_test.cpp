// The layered scene compiles a part only when what it shows changed: counted through a
// store that records what each part would draw.
#include "viewport/scene_layers.h"

#include <gtest/gtest.h>

#include "editing/document.h"
#include "editing/geometry_edits.h"
#include "editing/selection.h"
#include "model/bounds.h"
#include "support/model_builders.h"
#include "support/null_sink.h"

namespace tamsel {
namespace {

using namespace test;

// Counts the parts compiled, and the triangles, lines and texture binds they hold.
struct CountingStore : ListStore {
  struct Counter : test::NullSink {
    Primitive primitive = Primitive::Points;
    int vertices = 0, triangles = 0, lines = 0, binds = 0, runs = 0;
    void LoadName(std::uint32_t) override { ADD_FAILURE() << "a part carries a pick name"; }
    void Begin(Primitive p) override { primitive = p, vertices = 0, ++runs; }
    void Vertex(float, float, float) override { ++vertices; }
    void End() override {
      if (primitive == Primitive::Triangles) triangles += vertices / 3;
      if (primitive == Primitive::Lines) lines += vertices / 2;
    }
    void BindTexture(int, bool) override { ++binds; }
  };
  unsigned Compile(const std::function<void(DrawSink&)>& draw) override {
    Counter c;
    draw(c);
    parts[++next] = c;
    return next;
  }
  void Delete(unsigned id) override { parts.erase(id); }
  void Call(unsigned id, DrawSink&) override { called.push_back(id); }
  std::map<unsigned, Counter> parts;
  std::vector<unsigned> called;
  unsigned next = 0;
};

Model ThreeMeshes() {
  Model model;
  for (int m = 0; m < 3; ++m) {
    std::vector<FaceRec> faces;
    for (int f = 0; f < 10; ++f) {
      const float x = static_cast<float>(10 * m + f);
      faces.push_back(Quad(Corner(x, 0, 0), Corner(x + 1, 0, 0), Corner(x + 1, 1, 0),
                           Corner(x, 1, 0), f % 2 ? "a.BMP" : "b.BMP"));
    }
    std::string name = "M";
    name += std::to_string(m);
    model.Meshes.push_back(MeshWith(faces, {}, name));
  }
  model.Textures.resize(2);
  model.Textures.Edit(0).Name = "a.BMP";
  model.Textures.Edit(1).Name = "b.BMP";
  CalculateBounds(model);  // as a read project has them: edits keep them fresh
  return model;
}

class LayeredSceneTest : public ::testing::Test {
 protected:
  long Update() {
    const long before = scene.Compiles();
    scene.Update(doc.model(), view, colors, inputs, 1);
    return scene.Compiles() - before;
  }
  Document doc;
  ViewState view;
  ColorSettings colors;
  SceneInputs inputs;
  CountingStore store;
  LayeredScene scene{store};
};

TEST_F(LayeredSceneTest, AnUpdateOfOneMeshRecompilesThatMeshAlone) {
  doc.model() = ThreeMeshes();
  view.DisplayMode = Display::Texture;
  const long first = Update();
  // Per mesh: a run of triangles per texture (2), the opaque and blended passes calling
  // them, the marks; and the panels.
  EXPECT_EQ(first, 3 * 5 + 1);
  EXPECT_EQ(Update(), 1) << "nothing changed: only the panels' drawing is rebuilt";

  // A mesh-level UPDATE moves mesh 1: its record is new and draws otherwise.
  ASSERT_FALSE(doc.Apply("Mesh UPDATE", [](Model& m) {
    m.Meshes.Edit(1).LODs[0].Selected = kTrue;
    UpdateSelectedMeshes(m, 0, MeshUpdate{0, 100, 5, 0, 0});
  }));
  EXPECT_EQ(Update(), 5 + 1);  // mesh 1's parts alone

  // Faces grouped by texture: each texture's ten triangles in one run, bound once.
  int runs = 0, bodies = 0;
  for (const auto& [id, part] : store.parts) {
    runs += part.triangles == 10 && part.runs == 1 && part.binds == 0;
    bodies += part.triangles == 0 && part.binds == 2;
  }
  EXPECT_EQ(runs, 3 * 2);
  EXPECT_EQ(bodies, 3 * 2) << "the opaque and blended pass of each mesh";
}

TEST_F(LayeredSceneTest, SelectionAndRenamingKeepTheBodiesAndSwitchingBackReusesThem) {
  doc.model() = ThreeMeshes();
  Update();
  // A pick selects mesh 2: its new record draws alike and keeps its body; only its marks
  // (the centre point, now coloured) are compiled anew.
  ApplyPick(doc.model(), 0, PickKind::Mesh, {PickKind::Mesh, 2}, false);
  EXPECT_EQ(Update(), 1 + 1);
  ASSERT_FALSE(doc.Apply("Rename", [](Model& m) { RenameMesh(m, 0, "Nose"); }));
  EXPECT_EQ(Update(), 1) << "a renamed mesh draws alike";

  view.DisplayMode = Display::Texture;
  EXPECT_EQ(Update(), 3 * 5 + 1);
  view.DisplayMode = Display::Wire;
  EXPECT_EQ(Update(), 3 + 1) << "only the marks, whose look is the mode's";
  view.DisplayMode = Display::Texture;
  EXPECT_EQ(Update(), 3 + 1);
  view.FlightGroupColor = 2;
  EXPECT_EQ(Update(), 3 * 5 + 1);
  view.FlightGroupColor = 0;
  EXPECT_EQ(Update(), 3 + 1);

  // Deleted meshes lose their parts; nothing is left behind in the store.
  doc.model().Meshes.erase(2);
  doc.model().Meshes.erase(1);
  Update();
  scene.Clear();
  EXPECT_TRUE(store.parts.empty());
}

TEST_F(LayeredSceneTest, TheFaceLevelHighlightsOnlyTheSelectedFaces) {
  doc.model() = ThreeMeshes();
  view.GeometryLevel = Geometry::Face;
  ApplyPick(doc.model(), 0, PickKind::Mesh, {PickKind::Mesh, 1}, false);
  ApplyPick(doc.model(), 0, PickKind::Face, {PickKind::Face, 1, 4}, false);
  inputs.focusedFace = FaceRef{1, 4};
  store.called.clear();
  Update();
  // Mesh 1: body, highlight, marks, points and normals; the others body, highlight, marks.
  EXPECT_EQ(scene.Compiles(), 5 + 3 + 3 + 1);
  long highlighted = 0;
  for (const auto& [id, part] : store.parts) highlighted += part.lines == 4 && part.runs == 1;
  EXPECT_GE(highlighted, 1) << "the one selected quad's four edges";
  // The focus moves to another face of the same selection: only selection parts anew.
  inputs.focusedFace = FaceRef{1, 5};
  EXPECT_EQ(Update(), 2 + 1);
}

}  // namespace
}  // namespace tamsel
