#include "viewport/viewport_controller.h"

#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_host.h"

namespace tamsel {

ViewportController::ViewportController(Model& model, ViewState& view, ColorSettings& colors,
                                       GlViewportWidget& widget, ViewportHost& host)
    : host_(host),
      drawing_(model, view, colors, widget, host),
      navigation_(model, view, widget, host),
      picker_(model, view, widget, host) {}

void ViewportController::SyncWithModel(const ModelChange& change) {
  if (!change.recordsUnchanged) navigation_.KeepView();
  drawing_.Sync(change);
}

void ViewportController::InitGL() {
  navigation_.Reset();
  drawing_.InitGL();
}

void ViewportController::Draw() {
  drawing_.Draw();
}

void ViewportController::ContextLost() {
  drawing_.ContextLost();
}

void ViewportController::MousePress(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at) {
  navigation_.Press(button, at);
  // The modelling scheme's middle button only navigates; everything else gives the keys to
  // the viewport.
  if (!(button == Qt::MiddleButton && navigation_.Scheme() == NavigationScheme::Modelling))
    host_.FocusTaker();
}

void ViewportController::MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                                   QPointF at) {
  navigation_.Move(held, modifiers, at);
}

void ViewportController::Wheel(double steps, Qt::KeyboardModifiers modifiers, QPointF at) {
  navigation_.WheelAt(steps, modifiers, at);
}

void ViewportController::Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
  const bool picks =
      button == Qt::RightButton ||
      (button == Qt::LeftButton && navigation_.Scheme() == NavigationScheme::Modelling);
  if (picks) picker_.Click(at, modifiers & Qt::ShiftModifier);
}

}  // namespace tamsel
