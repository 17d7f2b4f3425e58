// The transform gizmo: three arrows and three planes to move, three rings to turn, three
// handles and a centre box to scale, in the craft's axes, at a fixed size on the screen.
// The shapes are in pixels, so that drawing and the pointer's hit test use the same ones.
#pragma once

#include <vector>

#include "viewport/screen_space.h"

namespace tamsel {

enum class GizmoPart {
  None,
  MoveX,
  MoveY,
  MoveZ,
  MoveYZ,  // the plane square square to X
  MoveZX,
  MoveXY,
  RotateX,
  RotateY,
  RotateZ,
  ScaleX,
  ScaleY,
  ScaleZ,
  ScaleAll,
};

struct GizmoShape {
  GizmoPart part = GizmoPart::None;
  int axis = 0;  // 0..2 the axis's colour, 3 the centre's
  std::vector<ScreenPoint> points;
  bool closed = false;  // a ring or a square's outline
  bool filled = false;  // a handle: inside it counts as on it
};

inline constexpr double kGizmoArrow = 90;   // pixels from the centre to an arrow's tip
inline constexpr double kGizmoRing = 70;    // a ring's radius
inline constexpr double kGizmoHandle = 60;  // where a scale handle sits along its axis
inline constexpr double kGizmoReach = 6;    // how near the pointer must be to a line

// What the viewport draws of the gizmo: its shapes, and the part being dragged.
struct GizmoPicture {
  std::vector<GizmoShape> shapes;
  GizmoPart active = GizmoPart::None;
};

// The gizmo's shapes around `centre`, in the order they are drawn (rings first, the centre
// box last). An axis that points at the viewer has no arrow, handle or planes: they would
// collapse onto the centre; an axis across the line of sight has no ring: seen edge on, it
// would lie over the arrows.
std::vector<GizmoShape> GizmoShapes(const ScreenView& view, const Single3& centre);

// The part under the pointer: the centre box, then the handles, the planes, the arrows and
// the rings.
GizmoPart GizmoPartAt(const std::vector<GizmoShape>& shapes, double x, double y);

}  // namespace tamsel
