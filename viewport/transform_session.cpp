#include "viewport/transform_session.h"

#include <cmath>
#include <numbers>

#include "model/number_text.h"

namespace tamsel {
namespace {

double Snapped(double value, double step) {
  return step > 0 ? std::round(value / step) * step : value;
}

// The angle of p around c as the viewer sees it: counter-clockwise positive.
double AngleAround(ScreenPoint c, ScreenPoint p) {
  return std::atan2(-(p.y - c.y), p.x - c.x) * 180 / std::numbers::pi;
}

std::optional<Axis> AxisOf(Constraint c) {
  switch (c) {
    case Constraint::X:
      return Axis::X;
    case Constraint::Y:
      return Axis::Y;
    case Constraint::Z:
      return Axis::Z;
    default:
      return std::nullopt;
  }
}

}  // namespace

TransformSession::TransformSession(TransformKind kind, Constraint constraint,
                                   const ScreenView& view, const Single3& centre, ScreenPoint start,
                                   double gridSpacing)
    : kind_(kind),
      constraint_(constraint),
      view_(view),
      centre_(centre),
      centreOnScreen_(ToScreen(view, centre)),
      start_(start),
      now_(start),
      grid_(gridSpacing) {
  lastAngle_ = AngleAround(centreOnScreen_, start_);
}

std::optional<TransformSession> TransformSession::ForPart(GizmoPart part, const ScreenView& view,
                                                          const Single3& centre, ScreenPoint start,
                                                          double gridSpacing) {
  const auto make = [&](TransformKind kind, Constraint c) {
    return TransformSession(kind, c, view, centre, start, gridSpacing);
  };
  switch (part) {
    case GizmoPart::MoveX:
      return make(TransformKind::Move, Constraint::X);
    case GizmoPart::MoveY:
      return make(TransformKind::Move, Constraint::Y);
    case GizmoPart::MoveZ:
      return make(TransformKind::Move, Constraint::Z);
    case GizmoPart::MoveYZ:
      return make(TransformKind::Move, Constraint::NotX);
    case GizmoPart::MoveZX:
      return make(TransformKind::Move, Constraint::NotY);
    case GizmoPart::MoveXY:
      return make(TransformKind::Move, Constraint::NotZ);
    case GizmoPart::RotateX:
      return make(TransformKind::Rotate, Constraint::X);
    case GizmoPart::RotateY:
      return make(TransformKind::Rotate, Constraint::Y);
    case GizmoPart::RotateZ:
      return make(TransformKind::Rotate, Constraint::Z);
    case GizmoPart::ScaleX:
      return make(TransformKind::Scale, Constraint::X);
    case GizmoPart::ScaleY:
      return make(TransformKind::Scale, Constraint::Y);
    case GizmoPart::ScaleZ:
      return make(TransformKind::Scale, Constraint::Z);
    case GizmoPart::ScaleAll:
      return make(TransformKind::Scale, Constraint::Free);
    case GizmoPart::None:
      break;
  }
  return std::nullopt;
}

void TransformSession::ConstrainTo(Axis axis) {
  const Constraint wanted = axis == Axis::X   ? Constraint::X
                            : axis == Axis::Y ? Constraint::Y
                                              : Constraint::Z;
  constraint_ = constraint_ == wanted ? Constraint::Free : wanted;
}

ScreenPoint TransformSession::AxisOnScreen(int axis) const {
  std::array<double, 3> end{centre_.x, centre_.y, centre_.z};
  end[static_cast<std::size_t>(axis)] += 1;
  const ScreenPoint e = ToScreen(view_, end);
  return {e.x - centreOnScreen_.x, e.y - centreOnScreen_.y};
}

Axis TransformSession::MainAxis() const {
  if (const auto axis = AxisOf(constraint_)) return *axis;
  if (kind_ == TransformKind::Rotate) {
    // Free, a turn goes about the axis nearest the line of sight.
    int best = 2;
    double most = -1;
    for (int a = 0; a < 3; ++a) {
      std::array<double, 3> d{0, 0, 0};
      d[static_cast<std::size_t>(a)] = 1;
      const double toward = std::abs(TowardsViewer(view_, d));
      if (toward > most + 1e-9) most = toward, best = a;
    }
    return static_cast<Axis>(best);
  }
  return Axis::X;
}

void TransformSession::Pointer(ScreenPoint at, bool snap) {
  now_ = at;
  snap_ = snap;
  const double angle = AngleAround(centreOnScreen_, at);
  double step = angle - lastAngle_;
  while (step > 180) step -= 360;
  while (step < -180) step += 360;
  turned_ += step;
  lastAngle_ = angle;
}

bool TransformSession::Type(char key) {
  if (key == '\b') {
    if (!typed_.empty()) typed_.pop_back();
    return true;
  }
  if ((key >= '0' && key <= '9') || key == '.') {
    typed_ += key;
    return true;
  }
  if (key == '-') {
    typed_ = typed_.starts_with('-') ? typed_.substr(1) : "-" + typed_;
    return true;
  }
  return false;
}

Transform TransformSession::Current() const {
  const std::optional<double> typed =
      typed_.empty() || typed_ == "-" ? std::nullopt : ParseDouble(typed_);
  const Axis main = MainAxis();
  const auto m = static_cast<std::size_t>(main);
  if (kind_ == TransformKind::Rotate) {
    // A turn about an axis that points away from the viewer shows clockwise.
    std::array<double, 3> d{0, 0, 0};
    d[m] = 1;
    const double sign = TowardsViewer(view_, d) < 0 ? -1 : 1;
    double degrees = typed ? *typed : sign * turned_;
    if (snap_ && !typed) degrees = Snapped(degrees, 15);
    return Transform::Rotate(main, degrees);
  }
  const ScreenPoint delta{now_.x - start_.x, now_.y - start_.y};
  if (kind_ == TransformKind::Move) {
    std::array<double, 3> amount{0, 0, 0};
    if (typed) {
      amount[m] = *typed;
      return Transform::Move(amount[0], amount[1], amount[2]);
    }
    if (const auto axis = AxisOf(constraint_)) {
      const ScreenPoint s = AxisOnScreen(static_cast<int>(*axis));
      const double squared = s.x * s.x + s.y * s.y;
      if (squared > 1e-12) amount[m] = (delta.x * s.x + delta.y * s.y) / squared;
    } else if (constraint_ == Constraint::Free) {
      // In the plane of the screen: the difference of two lines of sight.
      const Ray a = RayThrough(view_, start_.x, start_.y), b = RayThrough(view_, now_.x, now_.y);
      for (std::size_t i = 0; i < 3; ++i) amount[i] = b.origin[i] - a.origin[i];
    } else {
      // In a plane: the two axes' screen directions solve for the pointer's travel.
      const int skip = constraint_ == Constraint::NotX   ? 0
                       : constraint_ == Constraint::NotY ? 1
                                                         : 2;
      const int u = (skip + 1) % 3, v = (skip + 2) % 3;
      const ScreenPoint su = AxisOnScreen(u), sv = AxisOnScreen(v);
      const double det = su.x * sv.y - su.y * sv.x;
      if (std::abs(det) > 1e-12) {
        amount[static_cast<std::size_t>(u)] = (delta.x * sv.y - delta.y * sv.x) / det;
        amount[static_cast<std::size_t>(v)] = (su.x * delta.y - su.y * delta.x) / det;
      }
    }
    if (snap_)
      for (double& a : amount) a = Snapped(a, grid_);
    return Transform::Move(amount[0], amount[1], amount[2]);
  }
  // A scale: the pointer's distance from the centre against where it started.
  double factor = 1;
  if (typed) {
    factor = *typed;
  } else {
    const ScreenPoint from{start_.x - centreOnScreen_.x, start_.y - centreOnScreen_.y};
    const ScreenPoint to{now_.x - centreOnScreen_.x, now_.y - centreOnScreen_.y};
    if (const auto axis = AxisOf(constraint_)) {
      // Along the axis on the screen, so that pulling the handle past the centre turns it
      // inside out.
      const ScreenPoint s = AxisOnScreen(static_cast<int>(*axis));
      const double length = std::hypot(s.x, s.y);
      const double a = length > 0 ? (from.x * s.x + from.y * s.y) / length : 0;
      const double b = length > 0 ? (to.x * s.x + to.y * s.y) / length : 0;
      factor = std::abs(a) > 2 ? b / a : 1 + (delta.x - delta.y) / 100;
    } else {
      const double a = std::hypot(from.x, from.y), b = std::hypot(to.x, to.y);
      factor = a > 2 ? b / a : 1 + (delta.x - delta.y) / 100;
    }
    if (snap_) factor = Snapped(factor, 0.1);
  }
  if (factor == 0) factor = snap_ ? 0.1 : 1e-3;  // never flat: a zero scale is refused
  if (const auto axis = AxisOf(constraint_)) {
    std::array<double, 3> f{1, 1, 1};
    f[static_cast<std::size_t>(*axis)] = factor;
    return Transform::Scale(f[0], f[1], f[2]);
  }
  return Transform::Scale(factor, factor, factor);
}

std::string TransformSession::Label() const {
  std::string label = TransformLabel(Current());
  if (!typed_.empty()) label += "  [" + typed_ + "]";
  return label;
}

}  // namespace tamsel
