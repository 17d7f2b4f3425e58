// Between the model and the viewport's pixels: points projected onto the screen, and the
// line of sight through a pixel. Pixels are logical, from the widget's top left.
#pragma once

#include <array>
#include <optional>

#include "model/records.h"
#include "viewport/camera.h"

namespace tamsel {

struct ScreenView {
  Matrix4 modelView = Identity4(), projection = Identity4();
  int width = 1, height = 1;
  static ScreenView Of(const Camera& camera, int width, int height);
};

struct ScreenPoint {
  double x = 0, y = 0;
};

// Where p shows, and its window depth (0 near .. 1 far) in `depth` when given.
ScreenPoint ToScreen(const ScreenView& view, const Single3& p, double* depth = nullptr);
ScreenPoint ToScreen(const ScreenView& view, const std::array<double, 3>& p);

// The line of sight through a pixel: from the near plane towards the far plane.
struct Ray {
  std::array<double, 3> origin{}, direction{};  // direction of unit length
};
Ray RayThrough(const ScreenView& view, double x, double y);

// Which way a direction of the model points in the view: its view-space z (positive: at
// the viewer).
double TowardsViewer(const ScreenView& view, const std::array<double, 3>& direction);

// The general inverse of a 4 x 4 matrix; nothing when it is singular.
std::optional<Matrix4> Inverse(const Matrix4& m);

// The point of a face under a pixel: the nearest face of the level, front sides only unless
// `backFaces`.
struct SurfaceHit {
  int mesh = -1, face = -1;
  Single3 point;
  Single3 normal;  // the face's outward unit normal, from its winding
};
struct Model;
std::optional<SurfaceHit> HitSurface(const Model& model, int level, const Ray& ray, bool backFaces);

}  // namespace tamsel
