#include "viewport/axes_gizmo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "viewport/camera_frame.h"

namespace tamsel {
namespace {

// The end of axis `axis`'s line, and whether it was drawn after the others.
struct AxisLine {
  float x = 0, y = 0;
  int position = -1;
};

AxisLine LineOf(const std::vector<GizmoStroke>& strokes, int axis) {
  AxisLine line;
  int lines = 0;
  for (const GizmoStroke& s : strokes) {
    if (s.letter) continue;
    if (s.axis == axis) line = {s.x1, s.y1, lines};
    ++lines;
  }
  return line;
}

Camera Preset(ViewAngle angle) {
  Camera camera;
  OrientCamera(camera, angle);
  return camera;
}

// The Top view is the documented picture of the craft's axes: looking down on the top (-Z)
// with the nose (+Y) up, the craft's right side (-X) on the right, so +X points left and +Z
// away from the viewer: Z's line has no length and is drawn first, under the others.
TEST(AxesGizmo, TopViewShowsXLeftYUpAndZAwayFromTheViewer) {
  const auto strokes = AxesGizmo(Preset(ViewAngle::Top).Orientation());
  const AxisLine x = LineOf(strokes, 0), y = LineOf(strokes, 1), z = LineOf(strokes, 2);
  EXPECT_LT(x.x, -0.5f);
  EXPECT_NEAR(x.y, 0, 1e-6);
  EXPECT_GT(y.y, 0.5f);
  EXPECT_NEAR(y.x, 0, 1e-6);
  EXPECT_NEAR(std::hypot(z.x, z.y), 0, 1e-6);
  EXPECT_EQ(z.position, 0);
  // Z's letter still shows, in the quarter the X and Y lines leave empty.
  for (const GizmoStroke& s : strokes) {
    if (s.letter && s.axis == 2) {
      EXPECT_GT(std::min({s.x0, s.y0, s.x1, s.y1}), 0.1f);
    }
  }
}

// The side views show the top (-Z) up the screen, so +Z's line points down.
TEST(AxesGizmo, SideViewsPutTheTopUp) {
  for (const ViewAngle angle : {ViewAngle::Front, ViewAngle::Right, ViewAngle::Back,
                                ViewAngle::Left, ViewAngle::Perspective})
    EXPECT_LT(LineOf(AxesGizmo(Preset(angle).Orientation()), 2).y, -0.5f)
        << static_cast<int>(angle);
  // The Front and Back views look along the nose; the Right view shows it pointing right,
  // the Left view pointing left.
  for (const ViewAngle angle : {ViewAngle::Front, ViewAngle::Back}) {
    const AxisLine y = LineOf(AxesGizmo(Preset(angle).Orientation()), 1);
    EXPECT_NEAR(std::hypot(y.x, y.y), 0, 1e-6);
  }
  EXPECT_GT(LineOf(AxesGizmo(Preset(ViewAngle::Right).Orientation()), 1).x, 0.5f);
  EXPECT_LT(LineOf(AxesGizmo(Preset(ViewAngle::Left).Orientation()), 1).x, -0.5f);
  // From below, +Z comes towards the viewer: drawn last.
  EXPECT_EQ(LineOf(AxesGizmo(Preset(ViewAngle::Bottom).Orientation()), 2).position, 2);
}

// Whatever the turn, each line points where the camera carries that axis of the craft, and
// the nearer axes are drawn over the farther ones.
TEST(AxesGizmo, LinesFollowTheCameraAndNearerAxesComeLast) {
  Camera camera = Preset(ViewAngle::Perspective);
  camera.RotateY(17);
  camera.RotateX(-41);
  camera.SetTarget(3, -2, 5);
  camera.Pan(4, 1);
  const Matrix4 mv = camera.ModelView();
  const auto strokes = AxesGizmo(camera.Orientation());
  double depth[3];
  for (int axis = 0; axis < 3; ++axis) {
    // Where the craft's point target + axis lands, relative to where the target lands.
    const double target[3] = {3, -2, 5};
    double tip[3] = {3, -2, 5};
    tip[axis] += 1;
    double d[3];
    for (int row = 0; row < 3; ++row) {
      const auto at = [&](const double* p) {
        double v = mv[static_cast<std::size_t>(12 + row)];
        for (int k = 0; k < 3; ++k) v += mv[static_cast<std::size_t>(k * 4 + row)] * p[k];
        return v;
      };
      d[row] = at(tip) - at(target);
    }
    depth[axis] = d[2];
    const AxisLine line = LineOf(strokes, axis);
    const double onScreen = std::hypot(d[0], d[1]);
    ASSERT_GT(onScreen, 0.1);
    EXPECT_NEAR(line.x / std::hypot(line.x, line.y), d[0] / onScreen, 1e-5) << axis;
    EXPECT_NEAR(line.y / std::hypot(line.x, line.y), d[1] / onScreen, 1e-5) << axis;
  }
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b) {
      // The viewer looks along -z: the larger view z is the nearer.
      if (depth[a] > depth[b]) {
        EXPECT_GT(LineOf(strokes, a).position, LineOf(strokes, b).position);
      }
    }
  // Letters and lines stay inside the gizmo's square.
  for (const GizmoStroke& s : strokes)
    EXPECT_LE(std::max({std::abs(s.x0), std::abs(s.y0), std::abs(s.x1), std::abs(s.y1)}), 1.0f);
}

}  // namespace
}  // namespace tamsel
