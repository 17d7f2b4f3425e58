#include "editing/quad_shape.h"

#include <algorithm>
#include <cmath>

namespace tamsel {

Point3d Unit(Point3d v) {
  const double n = std::sqrt(Dot(v, v));
  return n > 0 ? Point3d{v.x / n, v.y / n, v.z / n} : Point3d{0, 0, 0};
}

Point3d AreaNormal(const std::vector<Single3>& c) {
  Point3d n{0, 0, 0};
  for (std::size_t i = 0; i < c.size(); ++i) {
    const Point3d a = Of(c[i]), b = Of(c[(i + 1) % c.size()]);
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

bool IsFlatConvexQuad(const std::vector<Single3>& c) {
  if (c.size() != 4) return false;
  const Point3d normal = AreaNormal(c);
  const double length = std::sqrt(Dot(normal, normal));
  if (length == 0) return false;
  // Flat: every corner within a thousandth of the diagonal of the plane through the centre.
  Point3d centre{0, 0, 0};
  for (const Single3& p : c) centre = {centre.x + p.x / 4, centre.y + p.y / 4, centre.z + p.z / 4};
  const Point3d d1 = Sub(Of(c[2]), Of(c[0])), d2 = Sub(Of(c[3]), Of(c[1]));
  const double size = std::sqrt(std::max(Dot(d1, d1), Dot(d2, d2)));
  for (const Single3& p : c)
    if (std::fabs(Dot(Sub(Of(p), centre), normal)) / length > 1e-3 * size) return false;
  // Convex: every corner turns the same way as the whole.
  for (std::size_t i = 0; i < 4; ++i) {
    const Point3d a = Sub(Of(c[(i + 1) % 4]), Of(c[i])),
                  b = Sub(Of(c[(i + 2) % 4]), Of(c[(i + 1) % 4]));
    if (Dot(Cross(a, b), normal) <= 0) return false;
  }
  return true;
}

}  // namespace tamsel
