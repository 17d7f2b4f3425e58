#include "model/bounds.h"

#include <gtest/gtest.h>

namespace tamsel {
namespace {

FaceRec Quad(Single3 a, Single3 b, Single3 c, Single3 d) {
  FaceRec f;
  const Single3 p[4] = {a, b, c, d};
  for (int k = 0; k < 4; ++k) {
    f.Vertices[k].X = p[k].x;
    f.Vertices[k].Y = p[k].y;
    f.Vertices[k].Z = p[k].z;
  }
  return f;
}

FaceRec Triangle(Single3 a, Single3 b, Single3 c) {
  return Quad(a, b, c, a);
}

MeshRec MeshOf(std::vector<std::vector<FaceRec>> levels) {
  MeshRec m;
  for (auto& faces : levels) {
    LODRec l;
    l.Faces = std::move(faces);
    m.LODs.push_back(std::move(l));
  }
  return m;
}

TEST(CalculateBounds, FaceBoxesOfTrianglesIgnoreCornerThreeAndQuadsUseIt) {
  Model model;
  // A quad whose corner 3 lies outside the first three corners' box widens it.
  model.Meshes.push_back(MeshOf({{Triangle({0, 0, 0}, {2, 0, 0}, {0, 4, 0}),
                                  Quad({0, 0, 0}, {2, 0, 0}, {0, 4, 0}, {-6, 1, 3}),
                                  Quad({0, 0, 0}, {2, 0, 0}, {0, 4, 0}, {1, 1, 0})}}));
  ASSERT_TRUE(CalculateBounds(model));
  const auto& faces = model.Meshes[0].LODs[0].Faces;
  EXPECT_EQ(faces[0].BoxMin, (Single3{0, 0, 0}));
  EXPECT_EQ(faces[0].BoxMax, (Single3{2, 4, 0}));
  EXPECT_EQ(faces[0].BoxCenter, (Single3{1, 2, 0}));
  EXPECT_EQ(faces[1].BoxMin, (Single3{-6, 0, 0}));
  EXPECT_EQ(faces[1].BoxMax, (Single3{2, 4, 3}));
  // Corner 3 inside the box: same box as the triangle.
  EXPECT_EQ(faces[2].BoxMin, faces[0].BoxMin);
  EXPECT_EQ(faces[2].BoxMax, faces[0].BoxMax);
  EXPECT_EQ(model.Meshes[0].LODs[0].BoxMin, (Single3{-6, 0, 0}));
  EXPECT_EQ(model.Meshes[0].LODs[0].BoxMax, (Single3{2, 4, 3}));
}

TEST(CalculateBounds, ModelBoxCoversEveryLevelOfEveryMesh) {
  Model model;
  model.Meshes.push_back(MeshOf({{Triangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0})},
                                 {Triangle({-10, 0, 0}, {5, 0, 0}, {0, 2, 7})}}));
  model.Meshes.push_back(MeshOf({{Triangle({0, -3, 0}, {1, 0, 0}, {0, 1, -1})}}));
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ModelMin, (Single3{-10, -3, -1}));
  EXPECT_EQ(model.ModelMax, (Single3{5, 2, 7}));
  EXPECT_EQ(model.ModelSpan, (Single3{15, 5, 8}));
  EXPECT_EQ(model.ModelCenter, (Single3{-2.5f, -0.5f, 3}));
  EXPECT_EQ(model.Meshes[0].LODs[1].BoxCenter, (Single3{-2.5f, 1, 3.5f}));
  EXPECT_DOUBLE_EQ(model.ViewExtent, 15.0);
  // The model box does not depend on which level is shown.
  EXPECT_DOUBLE_EQ(model.NormalLength, 15.0 / 16.0);
}

TEST(CalculateBounds, LargestSpanPrefersTheEarlierAxisOnTiesAndZWhenLarger) {
  Model model;
  model.Meshes.push_back(MeshOf({{Quad({0, 0, 0}, {3, 0, 0}, {3, 3, 1}, {0, 3, 1})}}));
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ViewExtent, 3.0);
  EXPECT_EQ(model.NormalLength, 3.0 / 16.0);

  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[2].Z = 9;
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ViewExtent, 9.0);
}

TEST(CalculateBounds, CoordinatesBeyondTheOldSentinelsAreBoxedCorrectly) {
  Model model;
  model.Meshes.push_back(MeshOf(
      {{Triangle({-2e6f, 1.5e6f, 999999}, {-1.5e6f, 2e6f, 999999}, {-2e6f, 2e6f, 999999})}}));
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ModelMin, (Single3{-2e6f, 1.5e6f, 999999}));
  EXPECT_EQ(model.ModelMax, (Single3{-1.5e6f, 2e6f, 999999}));
}

TEST(CalculateBounds, ModelWithoutFacesKeepsZeroBoxesAndTheViewExtent) {
  Model model;
  model.ViewExtent = 42;
  model.NormalLength = 7;
  EXPECT_FALSE(CalculateBounds(model));
  model.Meshes.push_back(MeshOf({{}, {}}));
  model.Meshes.Edit(0).LODs[0].BoxMin = {5, 5, 5};  // stale values from before are cleared
  EXPECT_FALSE(CalculateBounds(model));
  EXPECT_EQ(model.Meshes[0].LODs[0].BoxMin, Single3{});
  EXPECT_EQ(model.ModelMin, Single3{});
  EXPECT_EQ(model.ModelMax, Single3{});
  EXPECT_EQ(model.ModelSpan, Single3{});
  EXPECT_EQ(model.ViewExtent, 42);
  EXPECT_EQ(model.NormalLength, 7);
}

TEST(CalculateBounds, EmptyLevelDoesNotPullTheModelBoxToTheOrigin) {
  Model model;
  model.Meshes.push_back(MeshOf({{Triangle({5, 5, 5}, {6, 5, 5}, {5, 7, 5})}, {}}));
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ModelMin, (Single3{5, 5, 5}));
  EXPECT_EQ(model.Meshes[0].LODs[1].BoxMax, Single3{});
}

TEST(CalculateBounds, CoincidentCornersGiveAPositiveViewExtent) {
  Model model;
  model.Meshes.push_back(MeshOf({{Quad({3, 3, 3}, {3, 3, 3}, {3, 3, 3}, {3, 3, 3})}}));
  ASSERT_TRUE(CalculateBounds(model));
  EXPECT_EQ(model.ModelSpan, Single3{});
  EXPECT_EQ(model.ViewExtent, kPointExtent);
  EXPECT_GT(model.NormalLength, 0);
}

}  // namespace
}  // namespace tamsel
