#include "viewport/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tamsel {
namespace {

void ExpectMatrix(const Matrix4& m, const Matrix4& expected) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-12) << "element " << i;
}

TEST(Camera, BaseOrientationTurnsXAndZAroundExactly) {
  Camera camera;
  camera.RotateX(180);
  camera.RotateZ(180);
  ExpectMatrix(camera.Orientation(), {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1});
  camera.ResetRotation();
  ExpectMatrix(camera.Orientation(), Identity4());
}

TEST(Camera, RotationsAccumulateAboutTheViewAxes) {
  Camera camera;
  camera.RotateX(90);
  camera.RotateY(90);
  // The model's y axis: first turned onto z by X(90), then z turned onto x by Y(90).
  const Matrix4& m = camera.Orientation();
  EXPECT_NEAR(m[4], 1, 1e-12);
  EXPECT_NEAR(m[5], 0, 1e-12);
  EXPECT_NEAR(m[6], 0, 1e-12);
  Camera small;
  for (int i = 0; i < 120; ++i) small.RotateZ(3);  // 360 degrees in steps
  ExpectMatrix(small.Orientation(), Identity4());
}

TEST(Camera, ProjectionWidensTheSquareWindowAlongTheLongerSide) {
  Camera camera;
  camera.SetOrtho(-10, 10, -10, 10);
  camera.NearPlane = -10;
  camera.FarPlane = 10;
  const Matrix4 square = camera.Projection(100, 100);
  EXPECT_DOUBLE_EQ(square[0], 0.1);
  EXPECT_DOUBLE_EQ(square[5], 0.1);
  EXPECT_DOUBLE_EQ(square[10], -0.1);
  const Matrix4 wide = camera.Projection(200, 100);
  EXPECT_DOUBLE_EQ(wide[0], 0.05);
  EXPECT_DOUBLE_EQ(wide[5], 0.1);
  const Matrix4 tall = camera.Projection(100, 400);
  EXPECT_DOUBLE_EQ(tall[0], 0.1);
  EXPECT_DOUBLE_EQ(tall[5], 0.025);
}

TEST(Camera, CollapsedVolumeStaysFinite) {
  Camera camera;
  camera.SetOrtho(0, 0, 0, 0);
  camera.NearPlane = camera.FarPlane = 0;
  for (double v : camera.Projection(10, 10)) EXPECT_TRUE(std::isfinite(v));
}

TEST(Camera, PanMovesInViewUnitsAfterTheRotation) {
  Camera camera;
  camera.RotateZ(90);
  camera.Pan(2, -1);
  camera.Pan(1, 0);
  const Matrix4 mv = camera.ModelView();
  EXPECT_DOUBLE_EQ(mv[12], 3);
  EXPECT_DOUBLE_EQ(mv[13], -1);
  camera.SetTarget(1, 0, 0);
  // The target sits at the pan offset: model x = 1 maps to view (3, -1).
  const Matrix4 withTarget = camera.ModelView();
  EXPECT_NEAR(withTarget[0] * 1 + withTarget[12], 3, 1e-12);
  EXPECT_NEAR(withTarget[1] * 1 + withTarget[13], -1, 1e-12);
}

}  // namespace
}  // namespace tamsel
