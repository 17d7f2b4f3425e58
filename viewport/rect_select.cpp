#include "viewport/rect_select.h"

#include <algorithm>

namespace tamsel {

bool ShowsInside(const Matrix4& m, int width, int height, const ScreenRect& r, const Single3& p) {
  const double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
  const double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
  const double z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
  const double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
  if (!(w > 0) || z < -w || z > w) return false;
  const double px = (x / w + 1) / 2 * width, py = (1 - y / w) / 2 * height;
  return px >= std::min(r.left, r.right) && px <= std::max(r.left, r.right) &&
         py >= std::min(r.top, r.bottom) && py <= std::max(r.top, r.bottom);
}

}  // namespace tamsel
