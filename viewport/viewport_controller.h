// The viewport controller: the widget's receiver of GL set-up, frames and pointer events,
// composed of the camera navigation, the scene drawing and the picker. The window adds what
// needs its own widgets (the selection rectangle, the view's name) around it.
#pragma once

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/camera_navigation.h"
#include "viewport/picker.h"
#include "viewport/scene_drawing.h"
#include "viewport/viewport_input.h"

namespace tamsel {

class GlViewportWidget;
class ViewportHost;

class ViewportController : public ViewportInput {
 public:
  ViewportController(Model& model, ViewState& view, ColorSettings& colors, GlViewportWidget& widget,
                     ViewportHost& host);

  CameraNavigation& Navigation() { return navigation_; }
  SceneDrawing& Drawing() { return drawing_; }
  tamsel::Picker& Picker() { return picker_; }

  // Brings the scene up to date with the model after `change`: the view kept where the
  // modeller put it when records changed, the parts compiled anew, a frame asked for.
  void SyncWithModel(const ModelChange& change);

  // ViewportInput.
  void InitGL() override;
  void Draw() override;
  void MousePress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) override;
  void MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at) override;
  void MouseRelease(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) override {}
  void Wheel(double steps, Qt::KeyboardModifiers modifiers, QPointF at) override;
  // A right click picks in either scheme, a left click in the modelling tools' scheme;
  // Shift adds to the selection.
  void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) override;
  void ContextLost() override;

 private:
  ViewportHost& host_;
  SceneDrawing drawing_;
  CameraNavigation navigation_;
  tamsel::Picker picker_;
};

}  // namespace tamsel
