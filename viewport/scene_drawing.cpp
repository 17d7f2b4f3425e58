#include "viewport/scene_drawing.h"

#include "viewport/gl_decor.h"
#include "viewport/gl_frame.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_host.h"

namespace tamsel {

SceneDrawing::SceneDrawing(Model& model, ViewState& view, ColorSettings& colors,
                           GlViewportWidget& widget, ViewportHost& host)
    : model_(model),
      view_(view),
      colors_(colors),
      widget_(widget),
      host_(host),
      textures_(widget),
      store_(textures_, widget.ShapeTool()) {}

void SceneDrawing::InitGL() {
  SetupSceneState();
  widget_.Light() = SceneLight();
  // A new context has none of the old textures or lists.
  textures_.Reload();
  compiled_ = false;
  Sync();
}

void SceneDrawing::ContextLost() {
  compiled_ = false;
  layers_.Forget();
  store_.Forget();
}

void SceneDrawing::Draw() {
  ClearScreen();
  if (view_.PropertyPanel == Panel::Rotation) {
    // Only an animation recompiles here, and it asks for no frame: the window's timer does
    // while a box is ticked. A frame that asked for the next one kept a core busy for ever.
    const SceneInputs in = host_.CurrentSceneInputs();
    if (in.animateAxis && (view_.AxisAnimAngle += 5) > 359) view_.AxisAnimAngle = 0;
    if (in.animateAim && ++view_.AimAnimStep > 20) view_.AimAnimStep = 0;
    if (in.animateDegree && ++view_.DegreeAnimStep > 20) view_.DegreeAnimStep = 0;
    if (in.animateAxis || in.animateAim || in.animateDegree) Compile();
  }
  if (view_.GradientShown) DrawBackgroundGradient();
  // The grid follows the zoom and the gizmo the turn, frame by frame, so they are drawn
  // here, not compiled.
  if (view_.GridShown) {
    GlSink grid(textures_, widget_.ShapeTool());
    DrawGrid(model_, model_.ViewExtent, grid);
  }
  if (compiled_) {
    // The frame only sets state and calls the parts: cheap enough to issue every time, and
    // parts drawn from vertex buffers cannot be called from a display list without being
    // copied into it.
    GlSink sink(textures_, widget_.ShapeTool());
    layers_.Draw(sink);
  }
  if (view_.AxesShown) DrawAxesGizmo(widget_.Camera().Orientation());
  if (const auto gizmo = host_.Gizmo())
    DrawTransformGizmo(*gizmo, widget_.width(), widget_.height());
}

void SceneDrawing::Sync(const ModelChange& change) {
  // Flags and focus alone leave every mesh drawing as it did: its body parts stay without
  // its faces being compared.
  if (Compile(change.recordsUnchanged && !change.everything)) widget_.Redraw();
}

void SceneDrawing::Sync() {
  if (Compile()) widget_.Redraw();
}

bool SceneDrawing::Compile(bool flagsOnly) {
  GlViewportWidget::ContextScope scope(widget_);
  if (!scope.ok()) return false;
  layers_.Update(model_, view_, colors_, host_.CurrentSceneInputs(), TextureGeneration(),
                 flagsOnly);
  compiled_ = true;
  return true;
}

void SceneDrawing::DropParts() {
  GlViewportWidget::ContextScope scope(widget_);
  if (scope.ok()) layers_.Clear();
}

int SceneDrawing::TextureGeneration() {
  // Versions, not GL ids: asking for the ids would make every texture's objects, which a
  // wireframe never draws.
  bool same = textureSeen_.size() == model_.Textures.size();
  for (std::size_t t = 0; same && t < textureSeen_.size(); ++t) {
    const auto& [record, version] = textureSeen_[t];
    same = record.get() == model_.Textures.Identity(t) && version == textures_.Version(t);
  }
  if (same) return textureGeneration_;
  textureSeen_.clear();
  for (std::size_t t = 0; t < model_.Textures.size(); ++t)
    textureSeen_.emplace_back(model_.Textures.Share(t), textures_.Version(t));
  return ++textureGeneration_;
}

}  // namespace tamsel
