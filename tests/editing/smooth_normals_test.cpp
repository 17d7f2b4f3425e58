// Vertex normals smoothed by angle, held against shapes whose normals are known: a cube's
// faces stay flat, a sphere's corners point away from its centre.
#include "editing/smooth_normals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/bounds.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

double Dot(const Single3& a, const Single3& b) {
  return double{a.x} * b.x + double{a.y} * b.y + double{a.z} * b.z;
}
double Degrees(const Single3& a, const Single3& b) {
  const double c = Dot(a, b) / std::sqrt(Dot(a, a) * Dot(b, b));
  return std::acos(std::clamp(c, -1.0, 1.0)) * 180 / std::numbers::pi;
}
Single3 NormalOf(const VertexRec& v) {
  return {v.I, v.J, v.K};
}

TEST(SmoothNormals, ACubeKeepsItsSidesFlat) {
  Model m;
  m.Meshes.push_back(ColouredBox({1, 2, 3}, 2));
  SmoothNormalsByAngle(m, 30);
  for (std::size_t s = 0; s < 6; ++s) {
    const FaceRec& face = m.Meshes[0].LODs[0].Faces[s];
    for (const VertexRec& v : face.Vertices)
      EXPECT_LT(Degrees(NormalOf(v), kBoxSides[s].outward), 1e-4) << kBoxSides[s].name;
  }
  // Past the cube's right angles everything meets: a corner points along the diagonal.
  SmoothNormalsByAngle(m, 91);
  const VertexRec& corner = m.Meshes[0].LODs[0].Faces[0].Vertices[0];
  const Single3 out{corner.X - 1, corner.Y - 2, corner.Z - 3};
  EXPECT_LT(Degrees(NormalOf(corner), out), 1e-3);
}

TEST(SmoothNormals, ASpheresCornersPointAwayFromItsCentre) {
  Model m;
  m.Meshes.push_back(UvSphere(5, 24, 48));
  EXPECT_EQ(SmoothNormalsByAngle(m, 30), 24 * 48 * 4 - 2 * 48);
  double worst = 0;
  for (const FaceRec& f : m.Meshes[0].LODs[0].Faces)
    for (const VertexRec& v : f.Vertices) {
      EXPECT_NEAR(std::sqrt(Dot(NormalOf(v), NormalOf(v))), 1, 1e-6);
      worst = std::max(worst, Degrees(NormalOf(v), {v.X, v.Y, v.Z}));
    }
  EXPECT_LT(worst, 1.0);
  // At 5 degrees the facets at the equator (7.5 degrees apart each way) stand apart again:
  // a corner takes its own face's normal.
  SmoothNormalsByAngle(m, 5);
  const FaceRec& f = m.Meshes[0].LODs[0].Faces[12 * 48 + 7];
  EXPECT_LT(Degrees(NormalOf(f.Vertices[0]), NormalOf(f.Vertices[2])), 1e-3) << "one flat face";
  const VertexRec& v = f.Vertices[0];
  EXPECT_GT(Degrees(NormalOf(v), {v.X, v.Y, v.Z}), 2) << "not the sphere's";
}

TEST(SmoothNormals, OnlyTheListedMeshesChange) {
  Model m;
  m.Meshes.push_back(ColouredBox());
  m.Meshes.push_back(ColouredBox({5, 0, 0}));
  const MeshRec second = m.Meshes[1];
  SmoothNormalsByAngle(m, 30, {0});
  EXPECT_EQ(m.Meshes[1], second);
  EXPECT_NE(m.Meshes[0].LODs[0].Faces[0].Vertices[0].K, 0);
}

}  // namespace
}  // namespace tamsel
