// What the shaping commands (move, turn, scale, delete, duplicate, copy) work on: the
// selection at the level being edited, or the hardpoint or engine glow in focus while its
// panel is on show.
#pragma once

#include <string>
#include <vector>

#include "editing/focus.h"
#include "model/model.h"
#include "model/view_state.h"

namespace tamsel {

enum class TargetKind { Meshes, Faces, Corners, Hardpoint, EngineGlow };

struct EditTarget {
  TargetKind kind = TargetKind::Meshes;
  int level = 0;
  ItemRef item;  // the hardpoint or engine glow, for those kinds
};

// The target the view and the focus name. A feature panel without a focused element that
// exists falls back to the meshes.
EditTarget TargetOf(const ViewState& view, const Focus& focus, const Model& model);

// How many elements the target holds now: selected meshes with the level, selected faces of
// selected meshes, selected corners of selected faces, or 1 for an existing feature.
int TargetCount(const Model& model, const EditTarget& target);

// The meshes selected at the level (those that have it), in order.
std::vector<int> SelectedMeshes(const Model& model, int level);

// "mesh", "face", "corner", "hardpoint", "engine glow", plural with an "s" when count != 1.
std::string TargetNoun(TargetKind kind, int count);

}  // namespace tamsel
