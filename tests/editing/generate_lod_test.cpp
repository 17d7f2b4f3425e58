// Levels of detail made by simplifying the high level: how many faces, how far from the
// surface, and what of the surface they keep (seams, borders, textures).
#include "editing/generate_lod.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <tuple>

#include "editing/document.h"
#include "model/bounds.h"
#include "model/opz.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

// A closed tube along Z: `around` x `along` quads and two fans of triangles for its ends.
MeshRec Tube(float radius, float length, int around, int along, const std::string& texture) {
  const auto at = [&](int i, int j) {
    const double a = 2 * std::numbers::pi * (i % around) / around;
    return Corner(static_cast<float>(radius * std::cos(a)),
                  static_cast<float>(radius * std::sin(a)),
                  length * static_cast<float>(j) / static_cast<float>(along),
                  static_cast<float>(i) / static_cast<float>(around),
                  static_cast<float>(j) / static_cast<float>(along));
  };
  std::vector<FaceRec> faces;
  for (int j = 0; j < along; ++j)
    for (int i = 0; i < around; ++i)
      faces.push_back(Quad(at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j), texture));
  for (int end = 0; end <= along; end += along) {
    const VertexRec centre = Corner(0, 0, length * static_cast<float>(end) / along, 0.5f, 0.5f);
    for (int i = 0; i < around; ++i) {
      VertexRec a = at(i, end), b = at(i + 1, end);
      a.U = b.U = a.V = b.V = 0;  // the ends have coordinates of their own: a seam
      faces.push_back(end == 0 ? Triangle(centre, b, a, texture) : Triangle(centre, a, b, texture));
    }
  }
  return MeshWith(faces);
}

using CornerId = std::tuple<float, float, float, float, float, std::string>;
std::set<CornerId> CornersOf(const LODRec& level) {
  std::set<CornerId> corners;
  for (const FaceRec& f : level.Faces)
    for (int k = 0; k < f.CornerCount(); ++k) {
      const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
      corners.insert({v.X, v.Y, v.Z, v.U, v.V, f.TextureNames[0].str()});
    }
  return corners;
}

TEST(GenerateLod, AQuarterOfATubesFacesCloseToItsSurface) {
  Model m;
  m.Meshes.push_back(Tube(10, 200, 48, 100, "hull.BMP"));
  CalculateBounds(m);
  const int before = m.Meshes[0].LODs[0].FaceCount();
  const auto reports = GenerateLowLevels(m, {}, {});
  ASSERT_EQ(reports.size(), 1u);
  const LODRec& low = m.Meshes[0].LODs.at(1);
  EXPECT_EQ(reports[0].facesBefore, before);
  EXPECT_EQ(reports[0].facesAfter, low.FaceCount());
  EXPECT_NEAR(static_cast<double>(low.FaceCount()) / before, 0.25, 0.05);
  EXPECT_LE(reports[0].deviation, 0.01);
  // Every corner of the low level lies on the tube (within 1 % of its length).
  for (const FaceRec& f : low.Faces)
    for (const VertexRec& v : f.Vertices) {
      const double r = std::hypot(v.X, v.Y);
      EXPECT_TRUE(std::abs(r - 10) < 2 || v.Z == 0 || v.Z == 200) << v.X << " " << v.Y;
    }
  EXPECT_FLOAT_EQ(low.Distance, LowLevelDistance(m));
  EXPECT_GT(low.Faces[0].Id, m.Meshes[0].LODs[0].Faces.back().Id) << "fresh ids";
}

TEST(GenerateLod, KeepsSeamsBordersAndTexturesAndIsDeterministic) {
  // A flat sheet, open at its border, of two textures with coordinates of their own each.
  std::vector<FaceRec> faces;
  for (int i = 0; i < 40; ++i)
    for (int j = 0; j < 40; ++j) {
      const float x = static_cast<float>(i), y = static_cast<float>(j);
      const std::string texture = i < 20 ? "left.BMP" : "right.BMP";
      const float u0 = (x - (i < 20 ? 0 : 20)) / 20, u1 = u0 + 1.0f / 20;
      faces.push_back(Quad(Corner(x, y, 0, u0, y / 40), Corner(x, y + 1, 0, u0, (y + 1) / 40),
                           Corner(x + 1, y + 1, 0, u1, (y + 1) / 40),
                           Corner(x + 1, y, 0, u1, y / 40), texture));
    }
  Model m;
  m.Meshes.push_back(MeshWith(faces));
  CalculateBounds(m);
  Model again = m;
  GenerateLowLevels(m, {}, {0.1, 0.01});
  GenerateLowLevels(again, {}, {0.1, 0.01});
  EXPECT_EQ(WriteOpzText(m), WriteOpzText(again)) << "the same mesh gives the same level";
  const LODRec& low = m.Meshes[0].LODs[1];
  EXPECT_LT(low.FaceCount(), 1600 / 4);
  // No corner takes another's coordinates or texture: each is one of the high level's.
  const auto high = CornersOf(m.Meshes[0].LODs[0]);
  for (const CornerId& c : CornersOf(low)) EXPECT_TRUE(high.count(c)) << std::get<5>(c);
  // The border stays where it was: the sheet's four corners are there and its faces still
  // cover it whole, no more and no less.
  std::set<std::pair<float, float>> kept;
  for (const CornerId& c : CornersOf(low)) kept.insert({std::get<0>(c), std::get<1>(c)});
  for (const auto& p : {std::pair{0.0f, 0.0f}, std::pair{40.0f, 0.0f}, std::pair{0.0f, 40.0f},
                        std::pair{40.0f, 40.0f}})
    EXPECT_TRUE(kept.count(p)) << p.first << ", " << p.second;
  double area = 0;
  for (const FaceRec& f : low.Faces)
    for (int k = 1; k + 1 < f.CornerCount(); ++k) {
      const VertexRec &a = f.Vertices[0], &b = f.Vertices[static_cast<std::size_t>(k)],
                      &c = f.Vertices[static_cast<std::size_t>(k + 1)];
      area += std::abs((double{b.X} - a.X) * (double{c.Y} - a.Y) -
                       (double{c.X} - a.X) * (double{b.Y} - a.Y)) /
              2;
    }
  EXPECT_NEAR(area, 1600, 1e-6);
  std::set<std::string> textures;
  for (const FaceRec& f : low.Faces) {
    textures.insert(f.TextureNames[0].str());
    // A face lies wholly on its texture's side.
    for (const VertexRec& v : f.Vertices)
      EXPECT_TRUE(f.TextureNames[0] == "left.BMP" ? v.X <= 20 : v.X >= 20) << v.X;
  }
  EXPECT_EQ(textures, (std::set<std::string>{"left.BMP", "right.BMP"}));
  for (const FaceRec& f : low.Faces) EXPECT_EQ(std::abs(f.Normal.z), 1) << "no face without area";
}

TEST(GenerateLod, ReplacesTheLowLevelAsOneStepAndSkipsEmptyMeshes) {
  Document doc;
  doc.model().Meshes.push_back(Tube(5, 50, 24, 20, "a.BMP"));
  doc.model().Meshes.push_back(MeshWith({}));
  doc.model().Meshes.Edit(0).LODs.push_back(doc.model().Meshes[0].LODs[0]);
  CalculateBounds(doc.model());
  const std::string before = WriteOpzText(doc.model());
  std::vector<LodReport> reports;
  ASSERT_EQ(
      doc.Apply("Generate Low Detail", [&](Model& m) { reports = GenerateLowLevels(m, {}, {}); }),
      std::nullopt);
  ASSERT_EQ(reports.size(), 1u) << "the empty mesh is skipped";
  EXPECT_LT(doc.model().Meshes[0].LODs[1].FaceCount(), doc.model().Meshes[0].LODs[0].FaceCount());
  EXPECT_EQ(doc.model().Meshes[1].LODCount(), 1);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(WriteOpzText(doc.model()), before);
}

}  // namespace
}  // namespace tamsel
