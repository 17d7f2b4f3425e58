#include "interchange/polygon_split.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tamsel {
namespace {

struct V3 {
  double x, y, z;
};
V3 Of(const Single3& p) {
  return {p.x, p.y, p.z};
}
V3 Sub(V3 a, V3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V3 a, V3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Newell's normal: the polygon's area vector, sound for concave and slightly bent ones.
V3 AreaNormal(const std::vector<Single3>& c) {
  V3 n{0, 0, 0};
  for (std::size_t i = 0; i < c.size(); ++i) {
    const V3 a = Of(c[i]), b = Of(c[(i + 1) % c.size()]);
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

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

bool IsFlatConvexQuad(const std::vector<Single3>& c) {
  if (c.size() != 4) return false;
  const V3 normal = AreaNormal(c);
  const double length = std::sqrt(Dot(normal, normal));
  if (length == 0) return false;
  // Flat: every corner within a thousandth of the diagonal of the plane through the centre.
  V3 centre{0, 0, 0};
  for (const Single3& p : c) centre = {centre.x + p.x / 4, centre.y + p.y / 4, centre.z + p.z / 4};
  const V3 d1 = Sub(Of(c[2]), Of(c[0])), d2 = Sub(Of(c[3]), Of(c[1]));
  const double size = std::sqrt(std::max(Dot(d1, d1), Dot(d2, d2)));
  for (const Single3& p : c)
    if (std::fabs(Dot(Sub(Of(p), centre), normal)) / length > 1e-3 * size) return false;
  // Convex: every corner turns the same way as the whole.
  for (std::size_t i = 0; i < 4; ++i) {
    const V3 a = Sub(Of(c[(i + 1) % 4]), Of(c[i])), b = Sub(Of(c[(i + 2) % 4]), Of(c[(i + 1) % 4]));
    if (Dot(Cross(a, b), normal) <= 0) return false;
  }
  return true;
}

}  // namespace tamsel
