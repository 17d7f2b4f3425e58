// The commands that shape the craft directly: transforms of every kind of target, delete,
// duplicate, new meshes, merge, separate, reorder, Tri2Quad, the whole craft, features on
// the surface and the clipboard's text between two projects.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>

#include "editing/clipboard_text.h"
#include "editing/document.h"
#include "editing/element_edits.h"
#include "editing/geometry_edits.h"
#include "editing/mesh_edits.h"
#include "editing/ship_features.h"
#include "editing/surface_place.h"
#include "editing/transforms.h"
#include "editing/tri2quad.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/opz.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;

double Dot(const Single3& a, const Single3& b) {
  return double{a.x} * b.x + double{a.y} * b.y + double{a.z} * b.z;
}
Single3 Centre(const FaceRec& f) {
  double x = 0, y = 0, z = 0;
  const int n = f.CornerCount();
  for (int k = 0; k < n; ++k) {
    const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
    x += v.X, y += v.Y, z += v.Z;
  }
  return {static_cast<float>(x / n), static_cast<float>(y / n), static_cast<float>(z / n)};
}

// The sign a face's winding has against its outward side on the test builders' box, which
// the render truth tests hold against the pictures: every face of a sound mesh has it.
double OutwardSign() {
  const FaceRec f = BoxFace(kBoxSides[0]);
  return Dot(Winding(f), kBoxSides[0].outward) > 0 ? 1 : -1;
}

// Every face of the mesh winds outward from `inside` and its normal points outward.
void ExpectOutward(const MeshRec& mesh, const Single3& inside) {
  const double sign = OutwardSign();
  for (const FaceRec& f : mesh.LODs[0].Faces) {
    const Single3 c = Centre(f);
    const Single3 out{c.x - inside.x, c.y - inside.y, c.z - inside.z};
    EXPECT_GT(sign * Dot(Winding(f), out), 0) << "face " << f.Id << " winds inward";
    EXPECT_GT(Dot(f.Normal, out), 0) << "face " << f.Id << " normal points inward";
  }
}

Model TwoBoxes() {
  Model m;
  MeshRec a = ColouredBox({0, 0, 0}, 1);
  a.Name = "Gun Pod";
  a.LODs.push_back(a.LODs[0]);  // a low level to move along
  a.Hardpoints = {{1, {0, 1, 0}}};
  a.Pivot = {0, 0, 0};
  MeshRec b = ColouredBox({4, 0, 0}, 1);
  b.Name = "Right Engine";
  b.EngineGlows.resize(1);
  b.EngineGlows[0].Position = {4, -1, 0};
  m.Meshes.push_back(a);
  m.Meshes.push_back(b);
  for (MeshRec& mesh : m.Meshes.EditAll())
    for (LODRec& lod : mesh.LODs) AssignNewIds(lod, m.Ids);
  CalculateHitzones(m);
  return m;
}

TEST(Shaping, MovingAMeshMovesEveryLevelAndEverythingItCarries) {
  Model m = TwoBoxes();
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  ASSERT_EQ(TransformTarget(m, {TargetKind::Meshes, 0, {}}, Transform::Move(12.5, 0, -2)), 1);
  const MeshRec& a = m.Meshes[0];
  for (const LODRec& lod : a.LODs) {
    EXPECT_FLOAT_EQ(lod.BoxMin.x, 11.5f);
    EXPECT_FLOAT_EQ(lod.BoxMax.z, -1.0f);
  }
  EXPECT_EQ(a.Hardpoints[0].Position, (Single3{12.5f, 1, -2}));
  EXPECT_EQ(a.Pivot, (Single3{12.5f, 0, -2}));
  EXPECT_EQ(m.Meshes[1].LODs[0].BoxMin.x, 3) << "an unselected mesh stays";
  EXPECT_EQ(TransformLabel(Transform::Move(12.5, 0, 0)), "Move X 12.5");
  EXPECT_EQ(TransformLabel(Transform::Rotate(Axis::Z, 15)), "Rotate Z 15\u00b0");
  EXPECT_EQ(TransformLabel(Transform::Scale(1.1, 1.1, 1.1)), "Scale 110 %");
}

TEST(Shaping, TurnsAndScalesKeepFacesOutwardAndNormalsUnit) {
  for (const Transform& t : {Transform::Rotate(Axis::X, 37), Transform::Scale(-1, 1, 1),
                             Transform::Scale(2, 0.5, 3), Transform::Scale(-2, -2, -2)}) {
    Model m = TwoBoxes();
    m.Meshes.Edit(1).LODs[0].Selected = kTrue;
    TransformTarget(m, {TargetKind::Meshes, 0, {}}, t);
    const MeshRec& b = m.Meshes[1];
    ExpectOutward(b, b.LODs[0].BoxCenter);
    for (const FaceRec& f : b.LODs[0].Faces)
      EXPECT_NEAR(std::sqrt(Dot(f.Normal, f.Normal)), 1, 1e-6) << TransformLabel(t);
    EXPECT_NEAR(b.LODs[0].BoxCenter.x, 4, 1e-5) << "about the selection's centre";
  }
  Model m = TwoBoxes();
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  EXPECT_THROW(TransformTarget(m, {TargetKind::Meshes, 0, {}}, Transform::Scale(0, 1, 1)),
               std::invalid_argument);
}

TEST(Shaping, CornersMoveAloneAndATrianglesCopyFollowsItsFirstCorner) {
  Model m;
  m.Meshes.push_back(
      MeshWith({Triangle(Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0)),
                Quad(Corner(0, 0, 1), Corner(1, 0, 1), Corner(1, 1, 1), Corner(0, 1, 1))}));
  LODRec& lod = m.Meshes.Edit(0).LODs[0];
  lod.Selected = kTrue;
  lod.Faces[0].Selected = kTrue;
  lod.Faces[0].Vertices[0].Selected = kTrue;
  lod.Faces[1].Vertices[0].Selected = kTrue;  // its face is not selected: stays
  CalculateBounds(m);
  EXPECT_EQ(TransformTarget(m, {TargetKind::Corners, 0, {}}, Transform::Move(0, 0, 5)), 1);
  const FaceRec& tri = m.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(tri.Vertices[0].Z, 5);
  EXPECT_EQ(tri.Vertices[3].Z, 5);
  EXPECT_TRUE(tri.IsTriangle());
  EXPECT_EQ(tri.Vertices[1].Z, 0);
  EXPECT_EQ(m.Meshes[0].LODs[0].Faces[1].Vertices[0].Z, 1);
}

TEST(Shaping, FeaturesMoveAndAGlowScalesItsSize) {
  Model m = TwoBoxes();
  const EditTarget hp{TargetKind::Hardpoint, 0, {0, 0}};
  EXPECT_EQ(TransformTarget(m, hp, Transform::Move(1, 2, 3)), 1);
  EXPECT_EQ(m.Meshes[0].Hardpoints[0].Position, (Single3{1, 3, 3}));
  const EditTarget glow{TargetKind::EngineGlow, 0, {1, 0}};
  m.Meshes.Edit(1).EngineGlows[0].Size = {2, 4, 3};
  TransformTarget(m, glow, Transform::Scale(0.5, 0.5, 0.5));
  EXPECT_EQ(m.Meshes[1].EngineGlows[0].Size, (Single3{1, 2, 1.5f}));
  EXPECT_EQ(TargetCentre(m, glow), (Single3{4, -1, 0}));
}

TEST(Shaping, DeleteAndDuplicateWorkOnTheTargetAndSelectTheCopies) {
  Model m = TwoBoxes();
  LODRec& lod = m.Meshes.Edit(0).LODs[0];
  lod.Selected = kTrue;
  lod.Faces[0].Selected = kTrue;
  lod.Faces[2].Selected = kTrue;
  EditTarget faces{TargetKind::Faces, 0, {}};
  const std::int32_t nextFace = m.Ids.NextFaceId;
  EXPECT_EQ(DuplicateTarget(m, faces), 2);
  const auto& after = m.Meshes[0].LODs[0].Faces;
  ASSERT_EQ(after.size(), 8u);
  EXPECT_FALSE(after[0].Selected);
  EXPECT_TRUE(after[6].Selected);
  EXPECT_EQ(after[6].Vertices[1].X, after[0].Vertices[1].X);
  EXPECT_GT(after[6].Id, nextFace);
  EXPECT_EQ(DeleteTarget(m, faces), 2);
  EXPECT_EQ(m.Meshes[0].LODs[0].Faces.size(), 6u);

  EditTarget meshes{TargetKind::Meshes, 0, {}};
  EXPECT_EQ(DuplicateTarget(m, meshes), 1);
  ASSERT_EQ(m.MeshCount(), 3);
  EXPECT_EQ(m.Meshes[2].Name, "Gun Pod copy");
  EXPECT_EQ(m.Meshes[2].LODCount(), 2);
  EXPECT_EQ(m.Meshes[2].Hardpoints, m.Meshes[0].Hardpoints);
  EXPECT_TRUE(m.Meshes[2].LODs[0].Selected);
  EXPECT_FALSE(m.Meshes[0].LODs[0].Selected);
  EXPECT_NE(m.Meshes[2].LODs[0].Faces[0].Id, m.Meshes[0].LODs[0].Faces[0].Id);
  EXPECT_EQ(DeleteTarget(m, meshes), 1);
  EXPECT_EQ(m.MeshCount(), 2);
  EXPECT_EQ(DeleteTarget(m, {TargetKind::Corners, 0, {}}), 0);
  EXPECT_EQ(DeleteTarget(m, {TargetKind::Hardpoint, 0, {0, 0}}), 1);
  EXPECT_TRUE(m.Meshes[0].Hardpoints.empty());
}

TEST(Shaping, NewShapesWindOutwardAroundThePointTheyAreMadeAt) {
  for (NewShape shape : {NewShape::Box, NewShape::Cylinder}) {
    Model m = TwoBoxes();
    const Single3 at{10, -3, 2};
    const int index = NewMesh(m, shape, 4, at, "top.BMP");
    ASSERT_EQ(index, 2);
    const MeshRec& mesh = m.Meshes[2];
    EXPECT_EQ(mesh.LODs[0].FaceCount(), shape == NewShape::Box ? 6 : 48);
    ExpectOutward(mesh, at);
    EXPECT_NEAR(mesh.LODs[0].BoxMax.x - mesh.LODs[0].BoxMin.x, 4, 1e-5);
    EXPECT_NEAR(mesh.Center.z, 2, 1e-5);
    EXPECT_EQ(mesh.LODs[0].Faces[0].TextureNames[0], "top.BMP");
    EXPECT_TRUE(mesh.LODs[0].Selected);
    EXPECT_FALSE(m.Meshes[0].LODs[0].Selected);
  }
  Model m;
  NewMesh(m, NewShape::Plane, 2, {0, 0, 0}, "");
  const FaceRec& plane = m.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(plane.Normal, (Single3{0, 0, -1})) << "a plane faces up, -Z";
  EXPECT_GT(OutwardSign() * Dot(Winding(plane), {0, 0, -1}), 0);
  EXPECT_EQ(plane.TextureNames[0], "BLANK");
  NewMesh(m, NewShape::Empty, 2, {0, 0, 0}, "");
  EXPECT_EQ(m.Meshes[1].LODs[0].FaceCount(), 0);
  EXPECT_EQ(m.Meshes[1].Name, "Mesh");
  NewMesh(m, NewShape::Plane, 2, {0, 0, 0}, "");
  EXPECT_EQ(m.Meshes[2].Name, "Plane 2");
  // An empty mesh travels through the project file.
  IdCounters ids;
  EXPECT_EQ(ReadOpzText(WriteOpzText(m), ids, "x").meshes.size(), 3u);
}

TEST(Shaping, MergeSeparateAndReorderKeepEveryReference) {
  Model m = TwoBoxes();
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  m.Meshes.Edit(1).LODs[0].Selected = kTrue;
  EXPECT_EQ(MergeMeshes(m, 0), (std::vector<int>{1}));
  ASSERT_EQ(m.MeshCount(), 1);
  const MeshRec& merged = m.Meshes[0];
  EXPECT_EQ(merged.Name, "Gun Pod");
  EXPECT_EQ(merged.LODs[0].FaceCount(), 12);
  EXPECT_EQ(merged.LODs[1].FaceCount(), 6) << "the other had no low level";
  EXPECT_EQ(merged.HardpointCount(), 1);
  ASSERT_EQ(merged.EngineGlowCount(), 1);
  EXPECT_EQ(merged.EngineGlows[0].Position, (Single3{4, -1, 0}));
  EXPECT_FLOAT_EQ(merged.LODs[0].BoxMax.x, 5);

  // The faces of the second box go back into a mesh of their own.
  for (int f = 6; f < 12; ++f)
    m.Meshes.Edit(0).LODs[0].Faces[static_cast<std::size_t>(f)].Selected = kTrue;
  EXPECT_EQ(SeparateFaces(m, 0), 6);
  ASSERT_EQ(m.MeshCount(), 2);
  EXPECT_EQ(m.Meshes[0].LODs[0].FaceCount(), 6);
  EXPECT_EQ(m.Meshes[1].Name, "Gun Pod part");
  EXPECT_FLOAT_EQ(m.Meshes[1].Center.x, 4);
  EXPECT_TRUE(m.Meshes[1].LODs[0].Selected);
  EXPECT_FALSE(m.Meshes[0].LODs[0].Selected);

  // Reordering moves the records, selection and features with the mesh; the focus follows.
  const MeshRec first = m.Meshes[0], second = m.Meshes[1];
  Focus focus;
  focus.mesh = 1;
  focus.hardpoint = ItemRef{0, 0};
  focus.face = FaceRef{1, 3};
  ASSERT_TRUE(MoveMesh(m, 1, 0));
  EXPECT_EQ(m.Meshes[0], second);
  EXPECT_EQ(m.Meshes[1], first);
  FollowMeshes(focus, IndicesAfterMove(2, 1, 0));
  EXPECT_EQ(focus.mesh, 0);
  EXPECT_EQ(focus.hardpoint, (ItemRef{1, 0}));
  EXPECT_EQ(focus.face, (FaceRef{0, 3}));
  EXPECT_FALSE(MoveMesh(m, 0, 2));
  FollowMeshes(focus, IndicesAfterRemoval(2, {0}));
  EXPECT_EQ(focus.mesh, -1);
  EXPECT_FALSE(focus.face);
  EXPECT_EQ(focus.hardpoint, (ItemRef{0, 0}));
}

// A flat grid of quads with distinct coordinates: Quad2Tri then Tri2Quad gives it back.
TEST(Shaping, Tri2QuadAfterQuad2TriGivesTheQuadsBack) {
  std::vector<FaceRec> quads;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 3; ++j) {
      const float x = static_cast<float>(i), y = static_cast<float>(j);
      quads.push_back(Quad(Corner(x, y, 0, x / 4, y / 3), Corner(x, y + 1, 0, x / 4, (y + 1) / 3),
                           Corner(x + 1, y + 1, 0, (x + 1) / 4, (y + 1) / 3),
                           Corner(x + 1, y, 0, (x + 1) / 4, y / 3)));
    }
  Model m;
  m.Meshes.push_back(MeshWith(quads));
  Quad2Tri(m);
  ASSERT_EQ(m.Meshes[0].LODs[0].FaceCount(), 24);
  // Shuffled so that the pairs are not all neighbours in the list.
  auto& faces = m.Meshes.Edit(0).LODs[0].Faces.Edit();
  std::swap(faces[1], faces[23]);
  Document doc;
  doc.model() = m;
  const std::string triangles = WriteOpzText(m);
  int made = 0;
  ASSERT_EQ(doc.Apply("Tri2Quad", [&](Model& edit) { made = Tri2Quad(edit, 0, false); }),
            std::nullopt);
  EXPECT_EQ(made, 12);
  const auto& back = doc.model().Meshes[0].LODs[0].Faces;
  ASSERT_EQ(back.size(), 12u);
  std::set<std::vector<float>> want, got;
  const auto key = [](const FaceRec& f) {
    std::vector<float> k;
    // The quad from any starting corner: rotate so the least corner comes first.
    std::size_t start = 0;
    for (std::size_t c = 1; c < 4; ++c)
      if (std::tie(f.Vertices[c].X, f.Vertices[c].Y) <
          std::tie(f.Vertices[start].X, f.Vertices[start].Y))
        start = c;
    for (std::size_t c = 0; c < 4; ++c) {
      const VertexRec& v = f.Vertices[(start + c) % 4];
      k.insert(k.end(), {v.X, v.Y, v.Z, v.U, v.V});
    }
    return k;
  };
  for (const FaceRec& f : quads) want.insert(key(f));
  for (const FaceRec& f : back) got.insert(key(f));
  EXPECT_EQ(got, want);
  for (const FaceRec& f : back) EXPECT_FALSE(f.IsTriangle());
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(WriteOpzText(doc.model()), triangles);
}

TEST(Shaping, Tri2QuadLeavesBentConcaveAndSeamedPairsAlone) {
  Model m;
  // Bent: the fourth corner lifts far out of the plane.
  m.Meshes.push_back(MeshWith({Triangle(Corner(0, 0, 0), Corner(0, 1, 0), Corner(1, 0, 0)),
                               Triangle(Corner(0, 1, 0), Corner(1, 1, 1), Corner(1, 0, 0))}));
  // Seamed: the shared corners carry other coordinates in the second triangle.
  m.Meshes.push_back(
      MeshWith({Triangle(Corner(0, 0, 0), Corner(0, 1, 0, 0, 1), Corner(1, 0, 0)),
                Triangle(Corner(0, 1, 0, 0.5f, 1), Corner(1, 1, 0), Corner(1, 0, 0))}));
  // Concave: the far corner lies inside the first triangle's reach.
  m.Meshes.push_back(MeshWith({Triangle(Corner(0, 0, 0), Corner(0, 2, 0), Corner(2, 0, 0)),
                               Triangle(Corner(0, 2, 0), Corner(0.5f, 0.5f, 0), Corner(2, 0, 0))}));
  EXPECT_EQ(Tri2Quad(m, 0, false), 0);
}

TEST(Shaping, TheWholeCraftCentresAndScalesWithItsFeatures) {
  Model m = TwoBoxes();
  const Single3 offset = CentreCraft(m);
  EXPECT_EQ(offset, (Single3{-2, 0, 0}));
  EXPECT_EQ(m.ModelCenter, (Single3{0, 0, 0}));
  EXPECT_EQ(m.Meshes[0].Hardpoints[0].Position, (Single3{-2, 1, 0}));
  EXPECT_EQ(m.Meshes[1].EngineGlows[0].Position, (Single3{2, -1, 0}));
  ScaleCraft(m, 3);
  EXPECT_EQ(m.ModelMax.x, 9);
  EXPECT_EQ(m.Meshes[1].EngineGlows[0].Position, (Single3{6, -3, 0}));
  EXPECT_EQ(m.Meshes[0].Max.x, -3) << "the hitzone follows";
  EXPECT_THROW(ScaleCraft(m, 0), std::invalid_argument);
}

TEST(Shaping, AssignLodSaysWhatItWouldDoAndWhatWouldBeLost) {
  Model m = TwoBoxes();
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  LowLevelPlan plan = PlanLowLevel(m, 0);
  EXPECT_EQ(plan.source, -1);
  EXPECT_NE(plan.text.find("1 mesh selected"), std::string::npos) << plan.text;
  m.Meshes.Edit(1).LODs[0].Selected = kTrue;
  plan = PlanLowLevel(m, 0);
  EXPECT_EQ(plan.source, 1);
  EXPECT_TRUE(plan.losesFeatures);
  EXPECT_TRUE(plan.replacesLow);
  EXPECT_NE(plan.text.find("\"Right Engine\" becomes the low level of \"Gun Pod\""),
            std::string::npos)
      << plan.text;
  EXPECT_NE(plan.text.find("1 engine glow"), std::string::npos) << plan.text;
}

TEST(Shaping, FeaturesGoOnTheSurfaceAndMirrorAcrossTheCentrePlane) {
  Model m = TwoBoxes();
  const auto hp = PlaceHardpoint(m, 0, std::nullopt, {0.25f, 1, 0.5f});
  ASSERT_TRUE(hp);
  EXPECT_EQ(*hp, (ItemRef{0, 1}));
  const auto glow = PlaceEngineGlow(m, 1, 0, std::nullopt, {4, -1, 0.5f}, {0, -1, 0});
  ASSERT_TRUE(glow);
  const EngineGlowRec& g = m.Meshes[1].EngineGlows[1];
  EXPECT_EQ(g.Position, (Single3{4, -1, 0.5f}));
  EXPECT_EQ(g.Density1, (Single3{0, -1, 0}));
  EXPECT_NEAR(Dot(g.Density1, g.Density2), 0, 1e-6);
  const auto copy = MirrorEngineGlow(m, *glow);
  ASSERT_TRUE(copy);
  // The craft spans x -1..5: its centre plane is x = 2.
  EXPECT_EQ(m.Meshes[1].EngineGlows[2].Position, (Single3{0, -1, 0.5f}));
  EXPECT_FALSE(PlaceHardpoint(m, 5, std::nullopt, {}));
  EXPECT_FALSE(MirrorHardpoint(m, {0, 9}));
}

// A project with a bitmap, copied from and pasted into another whose folder has a different
// file of the same name.
TEST(Clipboard, MeshesTravelBetweenProjectsWithTheirBitmapsAndUndoTakesThemBack) {
  TempDir from, to;
  Document source;
  source.model() = TwoBoxes();
  source.model().ProjectPath = from.path().string();
  TextureRec top;
  top.Name = "top.BMP";
  source.model().Textures.push_back(top);
  const Bytes bitmap{'B', 'M', 1, 2, 3, 4, 5, 250, 0, 7};
  WriteFileAtomic(from / "top.BMP", bitmap);
  source.model().Meshes.Edit(0).LODs[0].Selected = kTrue;
  const std::string text = CopyText(source.model(), {TargetKind::Meshes, 0, {}});
  ASSERT_TRUE(IsClipboardText(text));
  EXPECT_NE(text.find("kind: meshes\r\nbitmap: top.BMP 10\r\n"), std::string::npos);

  Document target;
  target.model() = TwoBoxes();
  target.model().ProjectPath = to.path().string();
  const Bytes theirs{'B', 'M', 9, 9};
  WriteFileAtomic(to / "top.BMP", theirs);
  const auto before = to.Snapshot();
  const std::string projectBefore = WriteOpzText(target.model());
  PasteResult pasted;
  FileTransaction files(to.path());
  ASSERT_EQ(target.Apply(
                "Paste", [&](Model& m) { pasted = PasteText(m, text, 0, -1, files); }, &files),
            std::nullopt);
  EXPECT_EQ(pasted.count, 1);
  ASSERT_EQ(target.model().MeshCount(), 3);
  const MeshRec& copy = target.model().Meshes[2];
  EXPECT_EQ(copy.Name, "Gun Pod");
  EXPECT_EQ(copy.LODCount(), 2);
  EXPECT_EQ(copy.Hardpoints, source.model().Meshes[0].Hardpoints);
  EXPECT_TRUE(copy.LODs[0].Selected);
  EXPECT_EQ(copy.LODs[0].Faces[0].TextureNames[0], "top_2.BMP");
  EXPECT_EQ(ReadFileBytes(to / "top_2.BMP"), bitmap);
  EXPECT_EQ(ReadFileBytes(to / "top.BMP"), theirs) << "the user's file is kept";
  ASSERT_EQ(target.model().TextureCount(), 1);
  EXPECT_EQ(target.model().Textures[0].Name, "top_2.BMP");
  ASSERT_TRUE(target.Undo());
  EXPECT_EQ(to.Snapshot(), before);
  EXPECT_EQ(WriteOpzText(target.model()), projectBefore);
}

TEST(Clipboard, FacesAndFeaturesPasteIntoTheMeshGiven) {
  Model a = TwoBoxes();
  LODRec& lod = a.Meshes.Edit(0).LODs[0];
  lod.Selected = kTrue;
  lod.Faces[1].Selected = kTrue;
  const std::string faces = CopyText(a, {TargetKind::Faces, 0, {}});
  const std::string glow = CopyText(a, {TargetKind::EngineGlow, 0, {1, 0}});
  EXPECT_TRUE(CopyText(a, {TargetKind::Corners, 0, {}}).empty());
  TempDir folder;
  Model b = TwoBoxes();
  b.ProjectPath = folder.path().string();
  FileTransaction files(folder.path());
  EXPECT_THROW(PasteText(b, faces, 0, -1, files), std::invalid_argument);
  const PasteResult r = PasteText(b, faces, 0, 1, files);
  EXPECT_EQ(r.count, 1);
  ASSERT_EQ(b.Meshes[1].LODs[0].FaceCount(), 7);
  const FaceRec& pasted = b.Meshes[1].LODs[0].Faces[6];
  EXPECT_TRUE(pasted.Selected);
  EXPECT_EQ(pasted.Vertices[2].X, a.Meshes[0].LODs[0].Faces[1].Vertices[2].X);
  EXPECT_GT(pasted.Id, a.Meshes[0].LODs[0].Faces[5].Id) << "fresh ids";
  const PasteResult g = PasteText(b, glow, 0, 0, files);
  EXPECT_EQ(g.firstItem, 0);
  EXPECT_EQ(b.Meshes[0].EngineGlows[0], a.Meshes[1].EngineGlows[0]);
  EXPECT_THROW(PasteText(b, "Tamsel clipboard 1\r\nkind: wings\r\n", 0, 0, files), FileError);
  EXPECT_THROW(PasteText(b, "hello", 0, 0, files), FileError);
  std::string damaged = faces;
  damaged.replace(damaged.find("project:"), 8, "bitmap: ../x.BMP 1");
  EXPECT_THROW(PasteText(b, damaged, 0, 1, files), FileError);
}

}  // namespace
}  // namespace tamsel
