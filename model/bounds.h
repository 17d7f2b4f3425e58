#pragma once

#include "model/model.h"

namespace tamsel {

// Recomputes every face, level and model box, ModelSpan, ViewExtent and NormalLength.
// Returns false, leaving ViewExtent and NormalLength alone, when the model has no face:
// there is then nothing to frame, and the camera keeps its volume. Levels without faces
// get boxes of 0. A model whose corners all coincide gets ViewExtent kPointExtent so the
// view volume never collapses.
bool CalculateBounds(Model& model);

inline constexpr double kPointExtent = 1.0;

}  // namespace tamsel
