// The axes gizmo: the craft's X, Y and Z as the camera turns them, drawn in a corner of the
// view with a letter at each end, so that a modeller always knows which way is which.
#pragma once

#include <vector>

#include "viewport/camera.h"

namespace tamsel {

// One stroke of the gizmo in a square from -1 to 1 (x right, y up): an axis's line or a
// stroke of its letter. axis: 0 X, 1 Y, 2 Z.
struct GizmoStroke {
  float x0, y0, x1, y1;
  int axis;
  bool letter;
};

// The strokes for a camera orientation (the model-view's rotation), the axis farthest from
// the viewer first, so that nearer ones are drawn over it.
std::vector<GizmoStroke> AxesGizmo(const Matrix4& orientation);

}  // namespace tamsel
