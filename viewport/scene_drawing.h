// Draws the viewport's frames: the scene's compiled parts kept up to date with the model,
// and what follows the camera frame by frame (background, grid, axes gizmo).
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "editing/document.h"
#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/gl_sink.h"
#include "viewport/scene_layers.h"
#include "viewport/texture_objects.h"

namespace tamsel {

class GlViewportWidget;
class ViewportHost;

class SceneDrawing {
 public:
  SceneDrawing(Model& model, ViewState& view, ColorSettings& colors, GlViewportWidget& widget,
               ViewportHost& host);

  // A new context: GL state set up, textures and parts made anew.
  void InitGL();
  void Draw();
  // Brings the parts up to date with the model after `change` and asks for a frame. Makes
  // the context current itself, so any handler may call it.
  void Sync(const ModelChange& change);
  // After a change the caller cannot name: every mesh's record is compared.
  void Sync();
  // Brings the parts up to date without asking for a frame; false without a GL context. Only
  // the parts whose meshes or view changed are compiled anew; `flagsOnly` as for
  // LayeredScene::Update.
  bool Compile(bool flagsOnly = false);
  // Deletes every compiled part, so that the next Compile builds all anew.
  void DropParts();
  void ContextLost();

  TextureObjects& Textures() { return textures_; }

 private:
  int TextureGeneration();

  Model& model_;
  ViewState& view_;
  ColorSettings& colors_;
  GlViewportWidget& widget_;
  ViewportHost& host_;
  TextureObjects textures_;
  GlListStore store_;
  LayeredScene layers_{store_};
  // The texture records and versions of their GL objects the parts were compiled with.
  std::vector<std::pair<std::shared_ptr<const TextureRec>, unsigned>> textureSeen_;
  int textureGeneration_ = 0;
  bool compiled_ = false;
};

}  // namespace tamsel
