// Everything that moves the camera: the pointer, the wheel and the arrow keys in either
// navigation scheme, framing, the view presets, and keeping the view across edits.
//
// The default scheme: right-drag turns or pans as the view options say (with Shift it rolls
// or zooms), middle-drag pans, the arrows pan or turn by steps. The modelling tools' scheme
// adds middle-drag turning, Shift+middle-drag panning and Ctrl+middle-drag zooming.
#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>
#include <string>

#include "model/model.h"
#include "model/view_state.h"

namespace tamsel {

class GlViewportWidget;
class ViewportHost;

enum class NavigationScheme { Default, Modelling };

class CameraNavigation {
 public:
  CameraNavigation(Model& model, const ViewState& view, GlViewportWidget& widget,
                   ViewportHost& host);

  void SetScheme(NavigationScheme scheme) { scheme_ = scheme; }
  NavigationScheme Scheme() const { return scheme_; }

  // A new context: the camera back to its start, the zoom at its default.
  void Reset();
  // Arrows: pan a fifth of the view, or turn 3 degrees when "Rotate" is chosen; with Shift,
  // roll (Rotate) or zoom (Pan). Other keys are not the camera's: false.
  bool KeyPress(Qt::Key key, Qt::KeyboardModifiers modifiers);
  void Press(Qt::MouseButton button, QPointF at);
  void Move(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at);
  // Zooms about the view centre: a notch 15 % nearer or farther, with Shift 2 %.
  void Wheel(double steps, Qt::KeyboardModifiers modifiers);
  // Zooms as Wheel does, about the point under the pointer: what shows there stays there.
  void WheelAt(double steps, Qt::KeyboardModifiers modifiers, QPointF at);

  // Frames the selection (or the whole model when nothing is selected) at the current
  // level of detail: its larger projected side spans 90 % of the view, pan reset.
  void Fit();
  // Frames the whole model at the current level, selected or not, in the current direction.
  void FitWhole();
  // The orientations: "perspective", "top", "right", "front", "bottom", "back", "left".
  void ViewPreset(const std::string& key);
  // After an edit: the turn, pan and zoom stay where the modeller put them (the model's
  // recomputed extent gives way to the zoom on screen), and the view volume deepens to hold
  // the edited model.
  void KeepView();

  // The model units a pixel of the view spans as it is drawn now.
  double UnitsPerPixel() const;
  // The smallest view extent zooming may reach: a ten-thousandth of the model's size.
  double ZoomFloor() const;

 private:
  void SetExtent(double extent);
  void Frame(bool selectionFirst);
  // The modelling scheme's middle-drag: turn, Shift pans, Ctrl zooms.
  void ModellingDrag(Qt::KeyboardModifiers modifiers, QPoint at);
  // The default scheme's right-drag, by the distance from the press.
  void RightDrag(Qt::KeyboardModifiers modifiers, QPoint at);

  Model& model_;
  const ViewState& view_;
  GlViewportWidget& widget_;
  ViewportHost& host_;
  NavigationScheme scheme_ = NavigationScheme::Default;
  Qt::MouseButton dragButton_ = Qt::NoButton;
  QPoint last_, dragStart_;
};

}  // namespace tamsel
