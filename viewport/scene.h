// The scene's shared pieces: which texture a face shows, the rotation panel's animation, the
// property panels' drawings and the ground grid. The scene itself is drawn in layers
// (scene_layers.h) and picked on the CPU (scene_pick.h).
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "editing/list_rows.h"
#include "editing/selection.h"
#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/draw_sink.h"
#include "viewport/scene_view.h"

namespace tamsel {

// The record whose Name a face's texture name matches (the last in list order), -1 none.
class TextureLookup {
 public:
  explicit TextureLookup(const CowVector<TextureRec>& textures);
  int Find(const std::string& name) const {
    auto it = index_.find(name);
    return it == index_.end() ? -1 : it->second;
  }

 private:
  std::unordered_map<std::string, int> index_;
};

// The texture a face shows for the flight-group colour being viewed: slot 0 when the face
// has no variants (slot 1 "BLANK") or the chosen slot is "BLANK".
const std::string& ShownTextureName(const FaceRec& face, int flightGroupColor);

// The rotation panel's animation of a mesh about its pivot, as transforms into the sink.
void AnimateMesh(const MeshRec& mesh, const ViewState& view, const SceneInputs& inputs,
                 DrawSink& sink);

// The property panels' drawings alone (they carry no pick names).
void DrawPanelOverlays(const Model& model, const ViewState& view, const ColorSettings& colors,
                       const SceneInputs& inputs, DrawSink& sink);

// The spacing of the ground grid for a view of half-size `extent`: a power of ten, so that
// some four to forty lines cross the view.
double GridSpacing(double extent);

// The ground grid: lines GridSpacing(extent) apart in a plane just under the craft,
// reaching `extent` * 2 beyond its centre each way, every tenth line brighter. Stands for
// no element.
void DrawGrid(const Model& model, double extent, DrawSink& sink);

}  // namespace tamsel
