// What the view draws around the craft, in screen space: the background gradient behind it
// and the axes gizmo in front of it. Each needs a current context, takes the size of the
// current GL viewport and leaves the matrices, viewport and depth test as it found them.
#pragma once

#include "viewport/camera.h"
#include "viewport/transform_gizmo.h"

namespace tamsel {

// Fills the view from a grey-blue top to a near-black bottom, behind whatever follows.
void DrawBackgroundGradient();

// The craft's axes as `orientation` turns them, in the lower left corner.
void DrawAxesGizmo(const Matrix4& orientation);

// The transform gizmo over everything, its shapes in pixels of a view width x height.
void DrawTransformGizmo(const GizmoPicture& picture, int width, int height);

}  // namespace tamsel
