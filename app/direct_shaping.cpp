#include "app/direct_shaping.h"

#include <QString>
#include <algorithm>

#include "app/panels/panel_host.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/scene.h"

namespace tamsel {

DirectShaping::DirectShaping(PanelHost& host, GlViewportWidget& widget)
    : host_(host), widget_(widget) {}

ScreenView DirectShaping::View() const {
  return ScreenView::Of(widget_.Camera(), widget_.width(), widget_.height());
}

std::optional<Single3> DirectShaping::Centre(EditTarget& target) const {
  const Model& model = host_.Doc().model();
  target = TargetOf(host_.View(), host_.Doc().focus(), model);
  return TargetCentre(model, target);
}

bool DirectShaping::Begin(TransformKind kind, QPointF at) {
  if (drag_) return false;
  EditTarget target;
  const auto centre = Centre(target);
  if (!centre) {
    host_.Status(
        "Nothing selected to move, turn or scale: select meshes, faces, corners, a "
        "hardpoint or an engine glow first");
    return false;
  }
  Start(TransformSession(kind, Constraint::Free, View(), *centre, {at.x(), at.y()},
                         GridSpacing(host_.Doc().model().ViewExtent)),
        target, GizmoPart::None);
  return true;
}

bool DirectShaping::GrabGizmo(QPointF at) {
  if (drag_ || !shown_) return false;
  EditTarget target;
  const auto centre = Centre(target);
  if (!centre) return false;
  const ScreenView view = View();
  const GizmoPart part = GizmoPartAt(GizmoShapes(view, *centre), at.x(), at.y());
  auto session = TransformSession::ForPart(part, view, *centre, {at.x(), at.y()},
                                           GridSpacing(host_.Doc().model().ViewExtent));
  if (!session) return false;
  Start(std::move(*session), target, part);
  return true;
}

void DirectShaping::Start(TransformSession session, const EditTarget& target, GizmoPart part) {
  drag_.emplace(Drag{std::move(session), target, host_.Doc().model(), part, {}});
  host_.Status(QString::fromStdString(drag_->session.Label()) +
               "  (X, Y, Z constrain; type an amount; Ctrl snaps; Enter or a click commits, Esc "
               "or a right click cancels)");
  widget_.Redraw();
}

void DirectShaping::Follow(QPointF at, Qt::KeyboardModifiers modifiers) {
  if (!drag_) return;
  drag_->session.Pointer({at.x(), at.y()}, modifiers & Qt::ControlModifier);
  Preview();
}

bool DirectShaping::Key(Qt::Key key, const QString& text) {
  if (!drag_) return false;
  switch (key) {
    case Qt::Key_Escape:
      Cancel();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Commit();
      return true;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
      // A gizmo part holds its own axes.
      if (drag_->part == GizmoPart::None)
        drag_->session.ConstrainTo(key == Qt::Key_X   ? Axis::X
                                   : key == Qt::Key_Y ? Axis::Y
                                                      : Axis::Z);
      Preview();
      return true;
    case Qt::Key_Backspace:
      drag_->session.Type('\b');
      Preview();
      return true;
    default:
      break;
  }
  if (text.size() == 1 && drag_->session.Type(text[0].toLatin1())) {
    Preview();
    return true;
  }
  return false;
}

void DirectShaping::Preview() {
  Model& model = host_.Doc().model();
  static_cast<Craft&>(model) = drag_->before;
  std::vector<int> changed;
  try {
    TransformTarget(model, drag_->target, drag_->session.Current());
  } catch (const std::exception&) {
    static_cast<Craft&>(model) = drag_->before;  // a scale of 0 shows as none
  }
  const ModelChange difference = Difference(drag_->before, model);
  ModelChange change;
  change.meshes = difference.meshes;
  for (int m : drag_->shown)
    if (std::find(change.meshes.begin(), change.meshes.end(), m) == change.meshes.end())
      change.meshes.push_back(m);
  drag_->shown = difference.meshes;
  host_.Doc().Changed(change);
  host_.Status(QString::fromStdString(drag_->session.Label()));
}

void DirectShaping::PutBack() {
  Model& model = host_.Doc().model();
  static_cast<Craft&>(model) = drag_->before;
  ModelChange change;
  change.meshes = drag_->shown;
  drag_.reset();
  host_.Doc().Changed(change);
  widget_.Redraw();
}

void DirectShaping::Commit() {
  if (!drag_) return;
  const EditTarget target = drag_->target;
  const Transform t = drag_->session.Current();
  PutBack();
  const std::string label = TransformLabel(t);
  int moved = 0;
  if (!host_.Edit(QString::fromStdString(label),
                  [&](Model& m) { moved = TransformTarget(m, target, t); }))
    return;
  host_.Status(QString::fromStdString(label) + ": " + QString::number(moved) + " " +
               QString::fromStdString(TargetNoun(target.kind, moved)));
}

void DirectShaping::Cancel() {
  if (!drag_) return;
  const std::string label = TransformLabel(drag_->session.Current());
  PutBack();
  host_.Status(QString::fromStdString(label) + " cancelled");
}

void DirectShaping::SetGizmoShown(bool shown) {
  shown_ = shown;
  widget_.Redraw();
}

std::optional<GizmoPicture> DirectShaping::Gizmo() {
  if (!shown_) return std::nullopt;
  EditTarget target;
  std::optional<Single3> centre;
  if (drag_) {
    centre = TargetCentre(host_.Doc().model(), drag_->target);
  } else {
    centre = Centre(target);
  }
  if (!centre) return std::nullopt;
  GizmoPicture picture;
  picture.shapes = GizmoShapes(View(), *centre);
  picture.active = drag_ ? drag_->part : GizmoPart::None;
  return picture;
}

}  // namespace tamsel
