// The window's side of the viewport: what the scene needs of the panels, and a pick
// applied to the selection and the focus, which the document then announces.
#include "app/panels/mesh_frames.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "app/view_options.h"
#include "editing/selection.h"

namespace tamsel {
namespace {

PickKind LevelKind(const std::string& level) {
  return level == "face" ? PickKind::Face : level == "vertex" ? PickKind::Corner : PickKind::Mesh;
}

}  // namespace

SceneInputs TamselWindow::CurrentSceneInputs() {
  SceneInputs in;
  const int level = view_.LevelIndex();
  const Focus& focus = doc_.focus();
  if (focus.mesh >= 0 && focus.mesh < model_.MeshCount()) in.focusedMesh = focus.mesh;
  if (focus.face && FaceAt(model_, level, *focus.face)) in.focusedFace = focus.face;
  if (focus.corner && CornerAt(model_, level, *focus.corner)) in.focusedCorner = focus.corner;
  const RotationFrame::Animations animated = panels_->Rotation().Animated();
  in.animateAxis = animated.axis;
  in.animateAim = animated.aim;
  in.animateDegree = animated.degree;
  return in;
}

bool TamselWindow::RotateChosen() {
  return viewOptions_->RotateChosen();
}

void TamselWindow::FocusTaker() {
  viewOptions_->TakeKeys();
}

void TamselWindow::ApplyPickResult(const PickTarget& picked, bool shift) {
  const int level = view_.LevelIndex();
  const PickTarget chosen = ApplyPick(model_, level, LevelKind(view_.GeometryLevel), picked, shift);
  Focus& focus = doc_.focus();
  switch (chosen.kind) {
    case PickKind::Mesh:
      focus.mesh = chosen.mesh;
      break;
    case PickKind::Face:
      FocusFace(focus, model_, level, {chosen.mesh, chosen.face}, view_.FlightGroupColor);
      break;
    case PickKind::Corner:
      focus.mesh = chosen.mesh;
      focus.face = FaceRef{chosen.mesh, chosen.face};
      focus.corner = CornerRef{chosen.mesh, chosen.face, chosen.corner};
      break;
    case PickKind::None:
      break;
  }
  // A pick is a change of selection like any other: the document tells every view.
  SelectionChanged(chosen.kind != PickKind::None);
}

}  // namespace tamsel
