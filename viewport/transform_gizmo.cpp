#include "viewport/transform_gizmo.h"

#include <cmath>
#include <numbers>

namespace tamsel {
namespace {

constexpr GizmoPart kMove[3] = {GizmoPart::MoveX, GizmoPart::MoveY, GizmoPart::MoveZ};
constexpr GizmoPart kPlane[3] = {GizmoPart::MoveYZ, GizmoPart::MoveZX, GizmoPart::MoveXY};
constexpr GizmoPart kRotate[3] = {GizmoPart::RotateX, GizmoPart::RotateY, GizmoPart::RotateZ};
constexpr GizmoPart kScale[3] = {GizmoPart::ScaleX, GizmoPart::ScaleY, GizmoPart::ScaleZ};

double DistanceToSegment(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool Inside(const std::vector<ScreenPoint>& polygon, const ScreenPoint& p) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const ScreenPoint &a = polygon[i], &b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

ScreenPoint Square(const ScreenPoint& c, double half, int corner) {
  return {c.x + (corner == 1 || corner == 2 ? half : -half), c.y + (corner >= 2 ? half : -half)};
}

int Rank(GizmoPart part) {
  switch (part) {
    case GizmoPart::ScaleAll:
      return 0;
    case GizmoPart::ScaleX:
    case GizmoPart::ScaleY:
    case GizmoPart::ScaleZ:
      return 1;
    case GizmoPart::MoveYZ:
    case GizmoPart::MoveZX:
    case GizmoPart::MoveXY:
      return 2;
    case GizmoPart::MoveX:
    case GizmoPart::MoveY:
    case GizmoPart::MoveZ:
      return 3;
    default:
      return 4;
  }
}

}  // namespace

std::vector<GizmoShape> GizmoShapes(const ScreenView& view, const Single3& centre) {
  const ScreenPoint c = ToScreen(view, centre);
  const std::array<double, 3> at{centre.x, centre.y, centre.z};
  // The pixels one model unit along each axis spans, and its direction on the screen.
  std::array<ScreenPoint, 3> unit{};
  std::array<double, 3> pixels{};
  for (std::size_t a = 0; a < 3; ++a) {
    std::array<double, 3> end = at;
    end[a] += 1;
    const ScreenPoint e = ToScreen(view, end);
    pixels[a] = std::hypot(e.x - c.x, e.y - c.y);
    unit[a] = pixels[a] > 0 ? ScreenPoint{(e.x - c.x) / pixels[a], (e.y - c.y) / pixels[a]}
                            : ScreenPoint{0, 0};
  }
  // The model units that make a pixel at the gizmo (the camera is orthographic).
  const double perPixel = 1 / std::max({pixels[0], pixels[1], pixels[2], 1e-300});
  std::vector<GizmoShape> shapes;
  for (int a = 0; a < 3; ++a) {
    const auto A = static_cast<std::size_t>(a);
    // Seen end on (less than a fifth of its length shows), an axis has no arrow.
    const double shown = pixels[A] * perPixel;
    const auto along = [&](std::size_t axis, double length) {
      const double s = pixels[axis] * perPixel;
      return ScreenPoint{c.x + unit[axis].x * length * s, c.y + unit[axis].y * length * s};
    };
    if (shown > 0.2) {
      shapes.push_back({kMove[A], a, {c, along(A, kGizmoArrow)}, false, false});
      shapes.push_back({kScale[A], a, {}, true, true});
      const ScreenPoint h = along(A, kGizmoHandle);
      for (int k = 0; k < 4; ++k) shapes.back().points.push_back(Square(h, 5, k));
    }
    // The plane square to axis a spans the other two.
    const std::size_t u = (A + 1) % 3, v = (A + 2) % 3;
    if (pixels[u] * perPixel > 0.2 && pixels[v] * perPixel > 0.2) {
      const auto corner = [&](double su, double sv) {
        const ScreenPoint pu = along(u, su), pv = along(v, sv);
        return ScreenPoint{pu.x + pv.x - c.x, pu.y + pv.y - c.y};
      };
      shapes.push_back({kPlane[A],
                        a,
                        {corner(22, 22), corner(38, 22), corner(38, 38), corner(22, 38)},
                        true,
                        true});
    }
    // The ring about axis a, in the plane of the other two, projected; seen edge on (its
    // axis across the line of sight) it would lie over the arrows as a line: left out.
    std::array<double, 3> direction{0, 0, 0};
    direction[A] = 1;
    if (std::abs(TowardsViewer(view, direction)) < 0.2) continue;
    GizmoShape ring{kRotate[A], a, {}, true, false};
    constexpr int kSteps = 48;
    for (int i = 0; i < kSteps; ++i) {
      const double t = 2 * std::numbers::pi * i / kSteps;
      std::array<double, 3> p = at;
      p[u] += std::cos(t) * kGizmoRing * perPixel;
      p[v] += std::sin(t) * kGizmoRing * perPixel;
      ring.points.push_back(ToScreen(view, p));
    }
    shapes.push_back(std::move(ring));
  }
  GizmoShape box{GizmoPart::ScaleAll, 3, {}, true, true};
  for (int k = 0; k < 4; ++k) box.points.push_back(Square(c, 7, k));
  shapes.push_back(std::move(box));
  // Drawn in this order, the rings lie under the planes, the arrows and the handles.
  std::stable_sort(shapes.begin(), shapes.end(), [](const GizmoShape& a, const GizmoShape& b) {
    return Rank(a.part) > Rank(b.part);
  });
  return shapes;
}

GizmoPart GizmoPartAt(const std::vector<GizmoShape>& shapes, double x, double y) {
  const ScreenPoint p{x, y};
  GizmoPart best = GizmoPart::None;
  int bestRank = 99;
  double bestDistance = kGizmoReach;
  for (const GizmoShape& s : shapes) {
    double distance = s.filled && Inside(s.points, p) ? 0 : 1e300;
    const std::size_t n = s.points.size();
    for (std::size_t i = 0; i + 1 < n + (s.closed ? 1 : 0); ++i)
      distance = std::min(distance, DistanceToSegment(p, s.points[i], s.points[(i + 1) % n]));
    if (distance > kGizmoReach) continue;
    const int rank = Rank(s.part);
    if (rank < bestRank || (rank == bestRank && distance < bestDistance)) {
      best = s.part;
      bestRank = rank;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace tamsel
