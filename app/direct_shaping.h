// Shaping in the viewport: the transform gizmo drawn at the selection's centre and dragged,
// and the G, R and S keys. While a move, turn or scale is under way the model shows it live
// (outside the history); letting go makes it one undo step, Esc or a right click puts the
// model back as it was.
#pragma once

#include <QPointF>
#include <Qt>
#include <optional>

#include "editing/edit_target.h"
#include "model/model.h"
#include "viewport/transform_session.h"

namespace tamsel {

class GlViewportWidget;
class PanelHost;

class DirectShaping {
 public:
  DirectShaping(PanelHost& host, GlViewportWidget& widget);

  bool Active() const { return drag_.has_value(); }
  // Begins a move, turn or scale of what the commands work on, the pointer at `at`; says
  // why in the status bar and is false when nothing is selected.
  bool Begin(TransformKind kind, QPointF at);
  // A left press on the gizmo begins its part's drag; false when the press is elsewhere.
  bool GrabGizmo(QPointF at);
  // The pointer moved: the live result and its amount; Ctrl snaps.
  void Follow(QPointF at, Qt::KeyboardModifiers modifiers);
  // A key while a session is under way: X, Y, Z constrain, a number sets the amount, Enter
  // commits, Esc cancels. False for keys that are not the session's.
  bool Key(Qt::Key key, const QString& text);
  // Ends with one undo step; a session that changed nothing leaves no step.
  void Commit();
  // Puts the model back as it was before the session.
  void Cancel();
  // Whether the session began with a gizmo grab (letting the button go ends it).
  bool FromGizmo() const { return drag_ && drag_->part != GizmoPart::None; }

  void SetGizmoShown(bool shown);
  bool GizmoShown() const { return shown_; }
  // The gizmo to draw now: none while hidden, or when nothing is selected.
  std::optional<GizmoPicture> Gizmo();

 private:
  struct Drag {
    TransformSession session;
    EditTarget target;
    Craft before;
    GizmoPart part = GizmoPart::None;
    std::vector<int> shown;  // meshes the preview changed, to be drawn anew when put back
  };
  ScreenView View() const;
  std::optional<Single3> Centre(EditTarget& target) const;
  void Start(TransformSession session, const EditTarget& target, GizmoPart part);
  void Preview();
  // The model as it was, announced for the meshes the preview had changed.
  void PutBack();

  PanelHost& host_;
  GlViewportWidget& widget_;
  std::optional<Drag> drag_;
  bool shown_ = true;
};

}  // namespace tamsel
