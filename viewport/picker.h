// Picks what lies under the pointer, on the CPU, by the rules the scene is drawn by, and
// hands the choice to the window.
#pragma once

#include <QPoint>

#include "model/model.h"
#include "model/view_state.h"
#include "viewport/scene_pick.h"

namespace tamsel {

class GlViewportWidget;
class ViewportHost;

class Picker {
 public:
  Picker(const Model& model, const ViewState& view, GlViewportWidget& widget, ViewportHost& host);

  // What lies under (x, y), logical pixels, without applying it; `size` is the pick
  // square's side in logical pixels.
  PickOutcome PickAt(int x, int y, double size);
  PickOutcome PickAt(int x, int y);
  // What a click at (x, y) chooses (PickClick): PickAt's choice, or at the corner level the
  // corner of the face clicked that lies nearest to the pointer.
  PickOutcome ClickAt(int x, int y);
  // Selects what a click at `at` chooses (`add`: added to the selection); a click on
  // nothing clears the selection, one on what stands for no element changes nothing.
  void Click(QPoint at, bool add);
  // The camera and pointer of a pick at (x, y) logical pixels, in device pixels.
  PickView ViewAt(int x, int y, double size) const;

 private:
  const Model& model_;
  const ViewState& view_;
  GlViewportWidget& widget_;
  ViewportHost& host_;
  PickBoxes boxes_;
};

}  // namespace tamsel
