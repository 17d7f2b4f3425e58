#include "viewport/picker.h"

#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_host.h"

namespace tamsel {

Picker::Picker(const Model& model, const ViewState& view, GlViewportWidget& widget,
               ViewportHost& host)
    : model_(model), view_(view), widget_(widget), host_(host) {}

PickView Picker::ViewAt(int x, int y, double size) const {
  const qreal ratio = widget_.devicePixelRatioF();
  PickView at;
  at.width = static_cast<int>(widget_.width() * ratio);
  at.height = static_cast<int>(widget_.height() * ratio);
  at.projection = widget_.Camera().Projection(at.width, at.height);
  at.modelView = widget_.Camera().ModelView();
  at.x = static_cast<int>(x * ratio);
  at.y = static_cast<int>(y * ratio);
  at.size = size * ratio;
  return at;
}

PickOutcome Picker::PickAt(int x, int y, double size) {
  return PickScene(model_, view_, host_.CurrentSceneInputs(), ViewAt(x, y, size), boxes_);
}

PickOutcome Picker::PickAt(int x, int y) {
  return PickAt(x, y, GlViewportWidget::kPickSize);
}

PickOutcome Picker::ClickAt(int x, int y) {
  return PickClick(model_, view_, host_.CurrentSceneInputs(),
                   ViewAt(x, y, GlViewportWidget::kPickSize), boxes_);
}

void Picker::Click(QPoint at, bool add) {
  const PickOutcome outcome = ClickAt(at.x(), at.y());
  if (outcome.kind == PickOutcome::NoHit) host_.ApplyPickResult({}, add);
  if (outcome.kind == PickOutcome::Named) host_.ApplyPickResult(outcome.target, add);
  host_.FocusTaker();
}

}  // namespace tamsel
