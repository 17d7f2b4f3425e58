// The GL side of the tests' oracle: the reference scene compiled into a display list, a GL
// selection pass over what a function draws, and frames drawn from such a function in the
// real widget.
#pragma once

#include <GL/gl.h>

#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "support/reference_scene.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/texture_objects.h"

namespace tamsel::test {

// The reference scene in a display list of the widget's context.
class ReferenceSceneList {
 public:
  explicit ReferenceSceneList(GlViewportWidget& widget) : widget_(widget) {}
  ~ReferenceSceneList();
  ReferenceSceneList(const ReferenceSceneList&) = delete;
  ReferenceSceneList& operator=(const ReferenceSceneList&) = delete;

  // Compiles the scene as the window would show it; false without a context. Textures are
  // made before the list: made inside it, their images would go into the list.
  bool Compile(const Model& model, const ViewState& view, const ColorSettings& colors,
               const SceneInputs& inputs, TextureObjects& textures);
  void Call() const;
  const PickTable& Names() const { return names_; }

 private:
  GlViewportWidget& widget_;
  GLuint list_ = 0;
  PickTable names_;
};

// The hit records of a GL selection pass over what `draw` draws, in a pick square of
// GlViewportWidget::kPickSize pixels around (x, y) logical pixels: for each hit its name
// count, min depth, max depth and names. Nothing without a context.
std::optional<std::vector<std::int32_t>> SelectionPass(GlViewportWidget& widget, int x, int y,
                                                       const std::function<void()>& draw);
// The number of hit records in a selection pass's items.
int HitCount(const std::vector<std::int32_t>& items);

// A frame of the widget in which `draw` takes the place of the receiver's own drawing
// (the frame cleared first, the camera and light loaded as ever).
QImage FrameDrawnBy(GlViewportWidget& widget, const std::function<void()>& draw);

}  // namespace tamsel::test
