#include "viewport/rect_select.h"

#include <gtest/gtest.h>

#include "editing/select_many.h"
#include "model/bounds.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

// A 10 x 10 grid of unit quads in the plane z = 0, in one mesh, and a second mesh beside it.
Model GridCraft() {
  Model m;
  std::vector<FaceRec> faces;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      faces.push_back(Quad(Corner(fx, fy, 0), Corner(fx + 1, fy, 0), Corner(fx + 1, fy + 1, 0),
                           Corner(fx, fy + 1, 0)));
    }
  m.Meshes.push_back(MeshWith(faces));
  m.Meshes.push_back(
      MeshWith({Quad(Corner(12, 0, 0), Corner(13, 0, 0), Corner(13, 1, 0), Corner(12, 1, 0))}));
  CalculateBounds(m);
  return m;
}

// An orthographic view of x, y in 0..20 onto 200 x 200 pixels: 10 pixels a unit, y up.
Matrix4 View() {
  Matrix4 m{};
  m[0] = 0.1;
  m[5] = 0.1;
  m[10] = -0.1;
  m[12] = -1;
  m[13] = -1;
  m[15] = 1;
  return m;
}

TEST(RectSelect, ARectangleSelectsExactlyTheFacesWhoseCentresShowInsideIt) {
  Model m = GridCraft();
  m.Meshes.Edit(0).LODs[0].Selected = kTrue;
  const ScreenRect r{23, 150, 61, 185};  // x 2.3..6.1, y (200-185)/10=1.5 .. 5
  const auto inside = [&](const Single3& p) { return ShowsInside(View(), 200, 200, r, p); };
  EXPECT_EQ(SelectWhere(m, 0, PickKind::Face, SelectOp::Replace, inside), 4 * 4);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const bool expected = cx >= 2.3 && cx <= 6.1 && cy >= 1.5 && cy <= 5;
      EXPECT_EQ(m.Meshes[0].LODs[0].Faces[static_cast<std::size_t>(10 * y + x)].Selected != 0,
                expected)
          << x << "," << y;
    }
  EXPECT_FALSE(m.Meshes[1].LODs[0].Faces[0].Selected)
      << "the unselected mesh's faces are out of reach";
}

TEST(RectSelect, ShiftAddsCtrlRemovesAndReplaceClearsTheRest) {
  Model m = GridCraft();
  const auto left = [](const Single3& p) { return p.x < 5; };
  SelectWhere(m, 0, PickKind::Mesh, SelectOp::Replace, [](const Single3& p) { return p.x < 10; });
  EXPECT_TRUE(m.Meshes[0].LODs[0].Selected);
  EXPECT_FALSE(m.Meshes[1].LODs[0].Selected);
  SelectWhere(m, 0, PickKind::Face, SelectOp::Add, left);
  SelectWhere(m, 0, PickKind::Face, SelectOp::Remove, [](const Single3& p) { return p.y < 5; });
  int selected = 0;
  for (const FaceRec& f : m.Meshes[0].LODs[0].Faces) selected += f.Selected != 0;
  EXPECT_EQ(selected, 5 * 5);  // x < 5 and y >= 5
  SelectWhere(m, 0, PickKind::Face, SelectOp::Replace, [](const Single3&) { return false; });
  for (const FaceRec& f : m.Meshes[0].LODs[0].Faces) EXPECT_FALSE(f.Selected);
}

TEST(RectSelect, AllNoneAndInvertWorkOnWhatAClickCouldPick) {
  Model m = GridCraft();
  SelectAll(m, 0, PickKind::Mesh);
  EXPECT_TRUE(m.Meshes[0].LODs[0].Selected && m.Meshes[1].LODs[0].Selected);
  m.Meshes.Edit(1).LODs[0].Selected = kFalse;
  SelectAll(m, 0, PickKind::Face);
  EXPECT_TRUE(m.Meshes[0].LODs[0].Faces[99].Selected);
  EXPECT_FALSE(m.Meshes[1].LODs[0].Faces[0].Selected);
  m.Meshes.Edit(0).LODs[0].Faces[0].Selected = kFalse;
  InvertSelection(m, 0, PickKind::Face);
  int selected = 0;
  for (const FaceRec& f : m.Meshes[0].LODs[0].Faces) selected += f.Selected != 0;
  EXPECT_EQ(selected, 1);
  // Corners: only those of selected faces, each corner of a quad once.
  SelectAll(m, 0, PickKind::Corner);
  const FaceRec& first = m.Meshes[0].LODs[0].Faces[0];
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(first.Vertices[static_cast<std::size_t>(k)].Selected);
  EXPECT_FALSE(m.Meshes[0].LODs[0].Faces[1].Vertices[0].Selected);
  SelectNone(m, 0, PickKind::Corner);
  EXPECT_FALSE(m.Meshes[0].LODs[0].Faces[0].Vertices[2].Selected);
  const Model before = m;
  SelectAll(m, 1, PickKind::Mesh);  // no mesh has a low level
  EXPECT_EQ(m.Meshes[0], before.Meshes[0]);
}

TEST(RectSelect, PointsBehindTheCameraOrPastTheFarPlaneAreNotInside) {
  Matrix4 perspective{};
  perspective[0] = perspective[5] = 1;
  perspective[10] = -1.02;
  perspective[11] = -1;  // w = -z: the camera looks down -Z
  perspective[14] = -0.2;
  const ScreenRect everything{0, 0, 100, 100};
  EXPECT_TRUE(ShowsInside(perspective, 100, 100, everything, {0, 0, -5}));
  EXPECT_FALSE(ShowsInside(perspective, 100, 100, everything, {0, 0, 5})) << "behind";
  EXPECT_FALSE(ShowsInside(perspective, 100, 100, everything, {0, 0, -1000})) << "beyond far";
  EXPECT_TRUE(ShowsInside(perspective, 100, 100, {100, 100, 0, 0}, {0, 0, -5}))
      << "a rectangle dragged up and left is the same rectangle";
}

}  // namespace
}  // namespace tamsel
