#include "editing/ship_features.h"

#include <gtest/gtest.h>

#include "model/bounds.h"
#include "support/model_builders.h"

namespace tamsel {
namespace {

using namespace test;

Model Box() {
  Model model;
  model.Meshes.push_back(
      MeshWith({Quad(Corner(-10, -5, 0), Corner(10, -5, 0), Corner(10, 5, 4), Corner(-10, 5, 4))}));
  model.Meshes.Edit(0).MeshType = 7;
  model.Meshes.Edit(0).TargetId = 3;
  CalculateBounds(model);
  return model;
}

TEST(Hardpoints, AddDeleteAndMissingTargets) {
  Model model = Box();
  model.Meshes.Edit(0).Hardpoints = {{1, {}}, {2, {}}};
  EXPECT_EQ(AddHardpoint(model, 0, 0), 2);
  EXPECT_EQ(model.Meshes[0].Hardpoints[2].HardpointType, 0);
  EXPECT_EQ(model.Meshes[0].Hardpoints[2].Position, (Single3{0, 0, 2}));
  EXPECT_EQ(AddHardpoint(model, 0, 1), -1);  // no low level
  EXPECT_EQ(AddHardpoint(model, -1, 0), -1);
  EXPECT_TRUE(DeleteHardpoint(model, {0, 0}));
  EXPECT_EQ(model.Meshes[0].Hardpoints[0].HardpointType, 2);
  EXPECT_FALSE(DeleteHardpoint(model, {0, 5}));
  EXPECT_EQ(HardpointAt(model, {1, 0}), nullptr);
}

TEST(EngineGlows, NewGlowsFitTheLevelBoxAndSetToFaceDoublesTheFace) {
  Model model = Box();
  ASSERT_EQ(AddEngineGlow(model, 0, 0), 0);
  const EngineGlowRec& g = model.Meshes[0].EngineGlows[0];
  EXPECT_EQ(g.Size, (Single3{20, 10, 3}));
  EXPECT_EQ(g.InnerColor, (RGBA{128, 255, 255, 255}));
  EXPECT_EQ(g.Density3, (Single3{1, 0, 0}));
  SetEngineGlowToFace(model.Meshes.Edit(0).EngineGlows[0], model.Meshes.Edit(0).LODs[0].Faces[0]);
  EXPECT_EQ(g.Size, (Single3{40, 8, 3}));
  EXPECT_TRUE(DeleteEngineGlow(model, {0, 0}));
  EXPECT_FALSE(DeleteEngineGlow(model, {0, 0}));
}

TEST(Calculations, HitzonesAndRotationsComeFromTheHighLevelsFreshBox) {
  Model model = Box();
  model.Meshes.Edit(0).LODs[0].Faces[0].Vertices[0].X = -12;  // the stored box is now stale
  CalculateHitzones(model);
  const MeshRec& m = model.Meshes[0];
  EXPECT_EQ(m.Min, (Single3{-12, -5, 0}));
  EXPECT_EQ(m.Span, (Single3{22, 10, 4}));
  EXPECT_EQ(m.Center, (Single3{-1, 0, 2}));
  EXPECT_EQ(m.Target, m.Center);
  EXPECT_EQ(m.MeshType, 7);
  EXPECT_EQ(m.TargetId, 3);
  CalculateRotations(model);
  EXPECT_EQ(m.Pivot, m.Center);
  EXPECT_EQ(m.Axis, (Single3{0, 0, 32767}));
  EXPECT_EQ(m.Degree, (Single3{32767, 0, 0}));
}

}  // namespace
}  // namespace tamsel
