#include "interchange/polygon_split.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tamsel {
namespace {

using V3 = Point3d;

struct P2 {
  double u, v;
};
double Cross2(P2 o, P2 a, P2 b) {
  return (a.u - o.u) * (b.v - o.v) - (a.v - o.v) * (b.u - o.u);
}

bool InTriangle(P2 p, P2 a, P2 b, P2 c) {
  return Cross2(a, b, p) >= 0 && Cross2(b, c, p) >= 0 && Cross2(c, a, p) >= 0;
}

std::vector<std::array<unsigned, 3>> Fan(std::size_t n) {
  std::vector<std::array<unsigned, 3>> out;
  for (unsigned k = 1; k + 1 < n; ++k) out.push_back({0, k, k + 1});
  return out;
}

}  // namespace

std::vector<std::array<unsigned, 3>> SplitPolygon(const std::vector<Single3>& corners) {
  const std::size_t n = corners.size();
  if (n < 3) return {};
  const V3 normal = AreaNormal(corners);
  const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
  // A polygon whose corners all lie on a line covers nothing: no triangles, not a fan of
  // slivers over one another. "On a line" allows for the rounding of its corners.
  V3 lo = Of(corners[0]), hi = lo;
  for (const Single3& c : corners) {
    lo = {std::min(lo.x, static_cast<double>(c.x)), std::min(lo.y, static_cast<double>(c.y)),
          std::min(lo.z, static_cast<double>(c.z))};
    hi = {std::max(hi.x, static_cast<double>(c.x)), std::max(hi.y, static_cast<double>(c.y)),
          std::max(hi.z, static_cast<double>(c.z))};
  }
  const V3 span = Sub(hi, lo);
  if (std::sqrt(ax * ax + ay * ay + az * az) <= 1e-6 * Dot(span, span)) return {};
  // Drop the axis the normal is largest along, and keep the polygon counter-clockwise in
  // the plane that remains, so that every ear has a positive area.
  std::vector<P2> p(n);
  for (std::size_t i = 0; i < n; ++i) {
    const V3 c = Of(corners[i]);
    if (az >= ax && az >= ay)
      p[i] = {c.x, normal.z > 0 ? c.y : -c.y};
    else if (ay >= ax)
      p[i] = {c.z, normal.y > 0 ? c.x : -c.x};
    else
      p[i] = {c.y, normal.x > 0 ? c.z : -c.z};
  }
  const auto same = [&](unsigned a, unsigned b) { return p[a].u == p[b].u && p[a].v == p[b].v; };
  std::vector<unsigned> left(n);
  std::iota(left.begin(), left.end(), 0u);
  std::vector<std::array<unsigned, 3>> out;
  while (left.size() > 3) {
    bool clipped = false;
    for (std::size_t i = 0; i < left.size() && !clipped; ++i) {
      const unsigned a = left[(i + left.size() - 1) % left.size()], b = left[i],
                     c = left[(i + 1) % left.size()];
      if (Cross2(p[a], p[b], p[c]) <= 0) continue;  // a reflex or flat corner is no ear
      // A corner on the ear's own corners (a ring's seam walks some twice) does not block
      // it; any other inside it does.
      bool empty = true;
      for (unsigned k : left)
        if (k != a && k != b && k != c && !same(k, a) && !same(k, b) && !same(k, c) &&
            InTriangle(p[k], p[a], p[b], p[c])) {
          empty = false;
          break;
        }
      if (!empty) continue;
      out.push_back({a, b, c});
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
      clipped = true;
    }
    if (clipped) continue;
    // No ear: a corner where the outline doubles back on itself or runs straight on (the
    // seam to a hole, once the rings beside it are clipped) covers nothing; it goes.
    for (std::size_t i = 0; i < left.size() && !clipped; ++i) {
      const unsigned a = left[(i + left.size() - 1) % left.size()], b = left[i],
                     c = left[(i + 1) % left.size()];
      if (Cross2(p[a], p[b], p[c]) == 0 || same(a, b) || same(b, c)) {
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
        clipped = true;
      }
    }
    if (!clipped) return Fan(n);  // self-intersecting: nothing better is defined
  }
  if (Cross2(p[left[0]], p[left[1]], p[left[2]]) > 0) out.push_back({left[0], left[1], left[2]});
  return out;
}

}  // namespace tamsel
