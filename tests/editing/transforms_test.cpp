#include "editing/transforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/bounds.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

// A box-like craft on a half-unit grid, off centre and not symmetric: a quad facing +Z, a
// triangle facing +X, a hardpoint and a pivot, with normals and vectors that differ.
Model GridCraft() {
  Model m;
  FaceRec quad = Quad(Corner(0, 0, 1, 0, 0), Corner(2, 0, 1, 1, 0), Corner(2, 1.5f, 1, 1, 1),
                      Corner(0, 1.5f, 1, 0, 1));
  quad.Normal = {0, 0, 1};
  quad.Vector1 = {0.5f, 0, 0};
  quad.Vector2 = {0, 0.25f, 0};
  FaceRec tri = Triangle(Corner(2, 0, 0), Corner(2, 1.5f, 0), Corner(2, 0, 1));
  tri.Normal = {1, 0, 0};
  for (VertexRec& v : tri.Vertices) v.I = 1;
  m.Meshes.push_back(MeshWith({quad, tri}));
  MeshRec& mesh = m.Meshes.Edit(0);
  mesh.LODs[0].Selected = kTrue;
  HardpointRec hp;
  hp.Position = {1, 0.5f, 1};
  mesh.Hardpoints.push_back(hp);
  mesh.Pivot = {0.5f, 0, 0};
  mesh.Axis = {0, 0, 1};
  mesh.Min = {0, 0, 0};
  mesh.Max = {2, 1.5f, 1};
  mesh.Span = {2, 1.5f, 1};
  CalculateBounds(m);
  return m;
}

double Dot(const Single3& a, const Single3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

TEST(Transforms, FourQuarterTurnsAndTwoMirrorsGiveTheCraftBackBitForBit) {
  for (TransformScope scope : {TransformScope::Meshes, TransformScope::Faces}) {
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
      Model m = GridCraft();
      if (scope == TransformScope::Faces)
        for (FaceRec& f : m.Meshes.Edit(0).LODs[0].Faces) f.Selected = kTrue;
      const Model before = m;
      for (int i = 0; i < 4; ++i) EXPECT_EQ(RotateSelection(m, 0, scope, axis, 90), 2);
      EXPECT_EQ(m.Meshes[0], before.Meshes[0]);
      for (int i = 0; i < 4; ++i) RotateSelection(m, 0, scope, axis, -90);
      EXPECT_EQ(m.Meshes[0], before.Meshes[0]);
      for (int i = 0; i < 2; ++i) EXPECT_EQ(MirrorSelection(m, 0, scope, axis), 2);
      EXPECT_EQ(m.Meshes[0], before.Meshes[0]);
    }
  }
}

TEST(Transforms, AQuarterTurnAboutZMovesPointsNormalsVectorsAndFeaturesAboutTheCentre) {
  Model m = GridCraft();  // the box runs 0..2, 0..1.5, 0..1: centre (1, 0.75, 0.5)
  RotateSelection(m, 0, TransformScope::Meshes, Axis::Z, 90);
  const FaceRec& quad = m.Meshes[0].LODs[0].Faces[0];
  // (2, 0) about (1, 0.75): offset (1, -0.75) turns to (0.75, 1).
  EXPECT_EQ(quad.Vertices[1].X, 1.75f);
  EXPECT_EQ(quad.Vertices[1].Y, 1.75f);
  EXPECT_EQ(quad.Vertices[1].Z, 1.0f);
  EXPECT_EQ(quad.Vector1.x, 0.0f);
  EXPECT_EQ(quad.Vector1.y, 0.5f);
  const FaceRec& tri = m.Meshes[0].LODs[0].Faces[1];
  EXPECT_EQ(tri.Normal.x, 0.0f);
  EXPECT_EQ(tri.Normal.y, 1.0f);
  EXPECT_EQ(tri.Vertices[0].J, 1.0f) << "corner normals turn too";
  // The hardpoint (1, 0.5) and pivot (0.5, 0) follow; the axis along Z stays.
  EXPECT_EQ(m.Meshes[0].Hardpoints[0].Position.x, 1.25f);
  EXPECT_EQ(m.Meshes[0].Hardpoints[0].Position.y, 0.75f);
  EXPECT_EQ(m.Meshes[0].Pivot.x, 1.75f);
  EXPECT_EQ(m.Meshes[0].Pivot.y, 0.25f);
  EXPECT_EQ(m.Meshes[0].Axis.z, 1.0f);
  // The hitzone box turned with it: 1.5 wide, 2 deep now.
  EXPECT_EQ(m.Meshes[0].Span.x, 1.5f);
  EXPECT_EQ(m.Meshes[0].Span.y, 2.0f);
}

TEST(Transforms, AMirrorKeepsEveryFaceFacingOutward) {
  for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
    Model m = GridCraft();
    for (const FaceRec& f : m.Meshes[0].LODs[0].Faces) ASSERT_GT(Dot(Winding(f), f.Normal), 0);
    MirrorSelection(m, 0, TransformScope::Meshes, axis);
    for (const FaceRec& f : m.Meshes[0].LODs[0].Faces) {
      EXPECT_GT(Dot(Winding(f), f.Normal), 0) << "axis " << static_cast<int>(axis);
      EXPECT_EQ(f.CornerCount(), f.IsTriangle() ? 3 : 4);
    }
    EXPECT_TRUE(m.Meshes[0].LODs[0].Faces[1].IsTriangle()) << "a triangle stays a triangle";
  }
  // Texture coordinates go with their corners.
  Model m = GridCraft();
  MirrorSelection(m, 0, TransformScope::Meshes, Axis::X);
  const FaceRec& quad = m.Meshes[0].LODs[0].Faces[0];
  EXPECT_EQ(quad.Vertices[1].X, 2.0f);  // corner 3 (0, 1.5) mirrored to (2, 1.5)
  EXPECT_EQ(quad.Vertices[1].Y, 1.5f);
  EXPECT_EQ(quad.Vertices[1].U, 0.0f);
  EXPECT_EQ(quad.Vertices[1].V, 1.0f);
}

TEST(Transforms, FacesScopeMovesOnlyTheSelectedFacesAndNoFeatures) {
  Model m = GridCraft();
  m.Meshes.Edit(0).LODs[0].Faces[1].Selected = kTrue;
  const Model before = m;
  EXPECT_EQ(RotateSelection(m, 0, TransformScope::Faces, Axis::Y, 90), 1);
  EXPECT_EQ(m.Meshes[0].LODs[0].Faces[0].Vertices, before.Meshes[0].LODs[0].Faces[0].Vertices);
  EXPECT_NE(m.Meshes[0].LODs[0].Faces[1].Vertices, before.Meshes[0].LODs[0].Faces[1].Vertices);
  EXPECT_EQ(m.Meshes[0].Hardpoints, before.Meshes[0].Hardpoints);
  EXPECT_EQ(m.Meshes[0].Pivot, before.Meshes[0].Pivot);
}

TEST(Transforms, NothingSelectedChangesNothing) {
  Model m = GridCraft();
  m.Meshes.Edit(0).LODs[0].Selected = kFalse;
  const Model before = m;
  EXPECT_EQ(RotateSelection(m, 0, TransformScope::Meshes, Axis::X, 45), 0);
  EXPECT_EQ(MirrorSelection(m, 0, TransformScope::Meshes, Axis::X), 0);
  EXPECT_EQ(m.Meshes[0], before.Meshes[0]);
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  EXPECT_EQ(RotateSelection(m, 1, TransformScope::Meshes, Axis::X, 45), 0) << "no low level";
}

TEST(Transforms, AnyAngleTurnsWithinASinglesRounding) {
  Model m = GridCraft();
  const Model before = m;
  for (int i = 0; i < 12; ++i) RotateSelection(m, 0, TransformScope::Meshes, Axis::Y, 30);
  const auto& a = m.Meshes[0].LODs[0].Faces;
  const auto& b = before.Meshes[0].LODs[0].Faces;
  for (std::size_t f = 0; f < a.size(); ++f)
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(a[f].Vertices[k].X, b[f].Vertices[k].X, 1e-5);
      EXPECT_NEAR(a[f].Vertices[k].Z, b[f].Vertices[k].Z, 1e-5);
    }
}

}  // namespace
}  // namespace tamsel
