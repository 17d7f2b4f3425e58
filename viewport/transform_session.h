// One move, turn or scale as the pointer makes it: from the gizmo's part that was grabbed,
// or from the G, R and S keys. The pointer's travel on the screen becomes an amount in the
// craft's axes; a snap rounds it (the grid's spacing, 15 degrees, 10 %), and a typed number
// sets it exactly.
#pragma once

#include <optional>
#include <string>

#include "editing/transforms.h"
#include "viewport/screen_space.h"
#include "viewport/transform_gizmo.h"

namespace tamsel {

// Which axes the amount may use: every one, one, or the two other than one.
enum class Constraint { Free, X, Y, Z, NotX, NotY, NotZ };

class TransformSession {
 public:
  // `start` is where the pointer was when the session began.
  TransformSession(TransformKind kind, Constraint constraint, const ScreenView& view,
                   const Single3& centre, ScreenPoint start, double gridSpacing);
  // The session a gizmo part begins.
  static std::optional<TransformSession> ForPart(GizmoPart part, const ScreenView& view,
                                                 const Single3& centre, ScreenPoint start,
                                                 double gridSpacing);

  // X, Y or Z: that axis alone; the same again: every axis (a turn: about the axis nearest
  // the line of sight).
  void ConstrainTo(Axis axis);
  void Pointer(ScreenPoint at, bool snap);
  // A digit, '.', '-' or a backspace ('\b') of the typed amount; false for other keys.
  bool Type(char key);
  const std::string& Typed() const { return typed_; }

  TransformKind Kind() const { return kind_; }
  Constraint Constrained() const { return constraint_; }
  Transform Current() const;
  // "Move X 12.5"; with a typed amount it shows as typed so far.
  std::string Label() const;

 private:
  // The axis a one-axis amount uses, and the turn's axis.
  Axis MainAxis() const;
  ScreenPoint AxisOnScreen(int axis) const;  // pixels per model unit along the axis

  TransformKind kind_;
  Constraint constraint_;
  ScreenView view_;
  Single3 centre_;
  ScreenPoint centreOnScreen_, start_, now_;
  double grid_;
  bool snap_ = false;
  double turned_ = 0;  // degrees, unwrapped past a half turn
  double lastAngle_ = 0;
  std::string typed_;
};

}  // namespace tamsel
