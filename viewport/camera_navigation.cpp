#include "viewport/camera_navigation.h"

#include <algorithm>
#include <cmath>

#include "viewport/camera_frame.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_host.h"

namespace tamsel {

CameraNavigation::CameraNavigation(Model& model, const ViewState& view, GlViewportWidget& widget,
                                   ViewportHost& host)
    : model_(model), view_(view), widget_(widget), host_(host) {}

void CameraNavigation::Reset() {
  model_.ViewExtent = 10.0;
  ResetCamera(widget_.Camera());
}

void CameraNavigation::ViewPreset(const std::string& key) {
  if (const auto angle = ViewAngleNamed(key)) OrientCamera(widget_.Camera(), *angle);
  widget_.Redraw();
}

double CameraNavigation::ZoomFloor() const {
  return tamsel::ZoomFloor(model_);
}

// Zooming stays between a floor relative to the model and a ceiling far beyond any craft,
// so the view volume never collapses or overflows.
void CameraNavigation::SetExtent(double extent) {
  if (!std::isfinite(extent)) return;
  model_.ViewExtent = std::clamp(extent, ZoomFloor(), 1e9);
  widget_.Camera().SetOrtho(-model_.ViewExtent, model_.ViewExtent, -model_.ViewExtent,
                            model_.ViewExtent);
}

void CameraNavigation::KeepView() {
  Camera& camera = widget_.Camera();
  model_.ViewExtent = camera.Ortho()[1];
  // The volume deepens to hold whatever the edit moved, and never grows shallower: nothing
  // is cut away, and the view's turn, pan and zoom stay as they were.
  const Matrix4 m = camera.ModelView();
  double depth = 0;
  for (int k = 0; k < 8; ++k) {
    const double x = k & 1 ? model_.ModelMax.x : model_.ModelMin.x;
    const double y = k & 2 ? model_.ModelMax.y : model_.ModelMin.y;
    const double z = k & 4 ? model_.ModelMax.z : model_.ModelMin.z;
    depth = std::max(depth, std::fabs(m[2] * x + m[6] * y + m[10] * z + m[14]));
  }
  if (!std::isfinite(depth)) return;
  camera.NearPlane = std::min(camera.NearPlane, -(depth + 1));
  camera.FarPlane = std::max(camera.FarPlane, depth + 1);
}

bool CameraNavigation::KeyPress(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
    return false;
  Camera& camera = widget_.Camera();
  const bool rotate = host_.RotateChosen();
  const double e = model_.ViewExtent;
  if (modifiers == Qt::NoModifier) {
    switch (key) {
      case Qt::Key_Left:
        rotate ? camera.RotateY(-3) : camera.Pan(e / 5, 0);
        break;
      case Qt::Key_Right:
        rotate ? camera.RotateY(3) : camera.Pan(-e / 5, 0);
        break;
      case Qt::Key_Up:
        rotate ? camera.RotateX(3) : camera.Pan(0, -e / 5);
        break;
      default:
        rotate ? camera.RotateX(-3) : camera.Pan(0, e / 5);
        break;
    }
  } else if (modifiers == Qt::ShiftModifier) {
    if (rotate && key == Qt::Key_Left) camera.RotateZ(-3);
    if (rotate && key == Qt::Key_Right) camera.RotateZ(3);
    if (!rotate && key == Qt::Key_Up) SetExtent(e * 0.9);
    if (!rotate && key == Qt::Key_Down) SetExtent(e * 1.1);
  }
  widget_.Redraw();
  return true;
}

double CameraNavigation::UnitsPerPixel() const {
  const int w = std::max(1, widget_.width()), h = std::max(1, widget_.height());
  const auto o = widget_.Camera().Ortho();
  const double aspect = static_cast<double>(w) / h;
  const double height = (o[3] - o[2]) * (aspect < 1 ? 1 / aspect : 1);
  return height / h;
}

void CameraNavigation::Wheel(double steps, Qt::KeyboardModifiers modifiers) {
  if (steps == 0 || !std::isfinite(steps)) return;
  SetExtent(model_.ViewExtent * std::pow((modifiers & Qt::ShiftModifier) ? 0.98 : 0.85, steps));
  widget_.Redraw();
}

void CameraNavigation::WheelAt(double steps, Qt::KeyboardModifiers modifiers, QPointF at) {
  if (steps == 0 || !std::isfinite(steps)) return;
  const double before = UnitsPerPixel();
  Wheel(steps, modifiers);
  // The pointer's offset from the centre, in pixels, y up; the pan moves the point that
  // showed there back under it at the new scale.
  const double ox = at.x() - widget_.width() / 2.0, oy = widget_.height() / 2.0 - at.y();
  const double change = UnitsPerPixel() - before;
  widget_.Camera().Pan(ox * change, oy * change);
  widget_.Redraw();
}

void CameraNavigation::Fit() {
  Frame(true);
}

void CameraNavigation::FitWhole() {
  Frame(false);
}

void CameraNavigation::Frame(bool selectionFirst) {
  Camera& camera = widget_.Camera();
  const auto framing =
      FrameView(camera, model_, view_, widget_.width(), widget_.height(), selectionFirst);
  if (!framing) return;
  ApplyFraming(camera, *framing);
  SetExtent(std::max(framing->extent, ZoomFloor() / 0.9));
  widget_.Redraw();
}

void CameraNavigation::Press(Qt::MouseButton button, QPointF at) {
  const QPoint p(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y())));
  dragButton_ = button;
  last_ = p;
  dragStart_ = p;
}

void CameraNavigation::Move(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at) {
  const QPoint p(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y())));
  const QPoint moved = p - last_;
  last_ = p;
  if (held == Qt::NoButton) return;
  if ((held & Qt::MiddleButton) && dragButton_ == Qt::MiddleButton) {
    if (scheme_ == NavigationScheme::Modelling) return ModellingDrag(modifiers, moved);
    // The model follows the pointer, as in other 3D tools.
    const double unit = UnitsPerPixel();
    widget_.Camera().Pan(moved.x() * unit, -moved.y() * unit);
  } else if (held == Qt::RightButton && dragButton_ == Qt::RightButton) {
    RightDrag(modifiers, p - dragStart_);
  }
  widget_.Redraw();
}

void CameraNavigation::ModellingDrag(Qt::KeyboardModifiers modifiers, QPoint moved) {
  Camera& camera = widget_.Camera();
  if (modifiers & Qt::ControlModifier) {
    Wheel(-moved.y() / 20.0, {});  // up zooms in, as a wheel turned away
  } else if (modifiers & Qt::ShiftModifier) {
    const double unit = UnitsPerPixel();
    camera.Pan(moved.x() * unit, -moved.y() * unit);
  } else {
    camera.RotateY(0.5 * moved.x());
    camera.RotateX(0.5 * moved.y());
  }
  widget_.Redraw();
}

void CameraNavigation::RightDrag(Qt::KeyboardModifiers modifiers, QPoint fromPress) {
  const double dx = fromPress.x(), dy = fromPress.y();
  const double e = model_.ViewExtent;
  Camera& camera = widget_.Camera();
  const bool shift = modifiers & Qt::ShiftModifier;
  if (host_.RotateChosen()) {
    if (!shift) {
      camera.RotateY(0.05 * dx);
      camera.RotateX(0.05 * dy);
    } else {
      camera.RotateZ(0.05 * dx);
    }
  } else if (shift) {
    SetExtent(dy >= 0 ? e * (1 + dy / 10000) : e * (1 - std::fabs(dy) / 10000));
  } else {
    camera.Pan(e * dx / 5000, -e * dy / 5000);
  }
}

}  // namespace tamsel
