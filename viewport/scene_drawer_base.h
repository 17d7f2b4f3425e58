// What the scene's drawings share: the inputs, the level shown and small drawing helpers.
#pragma once

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/draw_sink.h"
#include "viewport/scene_view.h"

namespace tamsel {

class DrawerBase {
 protected:
  DrawerBase(const Model& model, const ViewState& view, const ColorSettings& colors,
             const SceneInputs& in, DrawSink& sink)
      : model_(model),
        view_(view),
        colors_(colors),
        in_(in),
        s_(sink),
        v_(SceneView::Of(view, in)),
        level_(v_.level) {}

  const LODRec* Level(const MeshRec& mesh) const {
    return mesh.HasLevel(level_) ? &mesh.LODs[static_cast<std::size_t>(level_)] : nullptr;
  }
  void Color(const ColorTriple& c) { s_.Color(c.R, c.G, c.B); }
  void White() { s_.Color(255, 255, 255); }
  void Line(float x, float y, float z, float dx, float dy, float dz) {
    s_.Begin(Primitive::Lines);
    s_.Vertex(x, y, z);
    s_.Vertex(x + dx, y + dy, z + dz);
    s_.End();
  }
  void Point(float x, float y, float z) {
    s_.Begin(Primitive::Points);
    s_.Vertex(x, y, z);
    s_.End();
  }

  const Model& model_;
  const ViewState& view_;
  const ColorSettings& colors_;
  const SceneInputs& in_;
  DrawSink& s_;
  const SceneView v_;
  int level_;
};

}  // namespace tamsel
