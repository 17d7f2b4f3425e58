// The elements the panels show: the focused row of each list, as references into the
// model. The selection is in the model's flags; the focus is beside them, one element of
// each kind, and like the flags it is no undo step.
#pragma once

#include <optional>

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

struct Focus {
  int mesh = -1;
  std::optional<FaceRef> face;
  std::optional<CornerRef> corner;
  std::optional<ItemRef> hardpoint, engineGlow;
  int texture = -1;  // the texture the transparency and illumination panels show
};

// The texture record a face shows in a flight-group slot (slot 0 when that slot is
// blank), or -1 when no record has its name.
int FaceTextureIndex(const Model& model, const FaceRec& face, int slot);

// Focuses a face and its mesh; the colour panels follow to the face's texture.
void FocusFace(Focus& focus, const Model& model, int level, FaceRef face, int slot);

}  // namespace tamsel
