// The shape of a four-cornered face: whether it may stay one face. Imports keep such quads
// and Tri2Quad makes them; both go by the same rule.
#pragma once

#include <vector>

#include "model/records.h"

namespace tamsel {

struct Point3d {
  double x, y, z;
};
inline Point3d Of(const Single3& p) {
  return {p.x, p.y, p.z};
}
inline Point3d Sub(Point3d a, Point3d b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Point3d Cross(Point3d a, Point3d b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Dot(Point3d a, Point3d b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
// Of unit length; a vector of no length stays (0, 0, 0).
Point3d Unit(Point3d v);

// Newell's normal: the polygon's area vector, sound for concave and slightly bent ones.
Point3d AreaNormal(const std::vector<Single3>& corners);

// Whether four corners make a quad the project can keep: flat (every corner within a
// thousandth of the longer diagonal of the best-fitting plane through their centre) and
// convex (every corner turns the way the whole quad does).
bool IsFlatConvexQuad(const std::vector<Single3>& corners);

}  // namespace tamsel
