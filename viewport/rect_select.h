// The viewport's rectangle: whether a point of the model shows inside it.
#pragma once

#include "model/records.h"
#include "viewport/camera.h"

namespace tamsel {

struct ScreenRect {
  double left = 0, top = 0, right = 0, bottom = 0;  // pixels from the top left
};

// Whether `p`, taken through `projectionModelView` into a view of width x height pixels,
// lands inside the rectangle; a point behind the camera or beyond the near and far planes
// does not.
bool ShowsInside(const Matrix4& projectionModelView, int width, int height, const ScreenRect& r,
                 const Single3& p);

}  // namespace tamsel
