// What the viewport object needs from the window: the focused rows and the view options it
// draws and navigates by, and somewhere to hand a pick.
#pragma once

#include <optional>
#include "editing/selection.h"

#include "viewport/scene.h"
#include "viewport/transform_gizmo.h"

namespace tamsel {

class ViewportHost {
 public:
  virtual ~ViewportHost() = default;
  // Focused rows of the mesh, face and corner lists and the ticked animation boxes.
  virtual SceneInputs CurrentSceneInputs() = 0;
  // True when "Rotate" is chosen in the view options, false for "Pan".
  virtual bool RotateChosen() = 0;
  // A pick resolved to an element (or to none: no hits); the window applies it to the
  // selection, the lists and the panels.
  virtual void ApplyPickResult(const PickTarget& picked, bool shift) = 0;
  virtual void FocusTaker() = 0;
  // The transform gizmo to draw over the scene, when there is one.
  virtual std::optional<GizmoPicture> Gizmo() { return std::nullopt; }
};

}  // namespace tamsel
