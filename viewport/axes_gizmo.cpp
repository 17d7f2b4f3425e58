#include "viewport/axes_gizmo.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tamsel {
namespace {

constexpr float kLine = 0.62f;    // an axis's line ends this far from the centre
constexpr float kGap = 0.2f;      // its letter's centre sits this far beyond the end
constexpr float kLetter = 0.11f;  // half the height of a letter

using Segment = std::array<float, 4>;

// Letters as strokes in a square from -1 to 1, upright whatever the turn of the view.
std::vector<Segment> Glyph(int axis) {
  switch (axis) {
    case 0:
      return {{-0.7f, -1, 0.7f, 1}, {-0.7f, 1, 0.7f, -1}};
    case 1:
      return {{-0.7f, 1, 0, 0}, {0.7f, 1, 0, 0}, {0, 0, 0, -1}};
    default:
      return {{-0.7f, 1, 0.7f, 1}, {0.7f, 1, -0.7f, -1}, {-0.7f, -1, 0.7f, -1}};
  }
}

}  // namespace

std::vector<GizmoStroke> AxesGizmo(const Matrix4& orientation) {
  // Column i of the rotation is where axis i points in the view; the viewer looks along -z,
  // so the farthest axis has the lowest view z.
  std::array<int, 3> order{0, 1, 2};
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return orientation[static_cast<std::size_t>(a * 4 + 2)] <
           orientation[static_cast<std::size_t>(b * 4 + 2)];
  });
  std::vector<GizmoStroke> strokes;
  for (const int axis : order) {
    const auto i = static_cast<std::size_t>(axis * 4);
    const float dx = static_cast<float>(orientation[i]),
                dy = static_cast<float>(orientation[i + 1]);
    const float length = std::hypot(dx, dy);
    const float ex = dx * kLine, ey = dy * kLine;
    strokes.push_back({0, 0, ex, ey, axis, false});
    // An axis along the line of sight has no direction on screen; its letter goes to the
    // upper right of the centre, clear of the centre's lines, so that it still shows.
    const bool across = length > 0.1f;
    const float ux = across ? dx / length : 0.7071f, uy = across ? dy / length : 0.7071f;
    const float gap = across ? kGap : 0.4f;
    const float cx = ex + ux * gap, cy = ey + uy * gap;
    for (const Segment& s : Glyph(axis))
      strokes.push_back({cx + s[0] * kLetter, cy + s[1] * kLetter, cx + s[2] * kLetter,
                         cy + s[3] * kLetter, axis, true});
  }
  return strokes;
}

}  // namespace tamsel
