#pragma once

#include <vector>

#include "model/model.h"

namespace tamsel {

// Recomputes every face, level and model box, ModelSpan, ViewExtent and NormalLength.
// Returns false, leaving ViewExtent and NormalLength alone, when the model has no face:
// there is then nothing to frame, and the camera keeps its volume. Levels without faces
// get boxes of 0. A model whose corners all coincide gets ViewExtent kPointExtent so the
// view volume never collapses.
bool CalculateBounds(Model& model);
// The same for the listed meshes' face and level boxes only; the model box, ViewExtent and
// NormalLength still cover the whole model. Meshes not listed are neither written nor copied.
bool CalculateBounds(Model& model, const std::vector<int>& meshes);

// The same for the meshes from `first` on (those a read appended).
bool CalculateBoundsFrom(Model& model, std::size_t first);

// One mesh's face and level boxes.
void CalculateMeshBounds(MeshRec& mesh);
// The boxes of one level and of each of its faces.
void CalculateLevelBounds(LODRec& level);
// The model box and ModelSpan from every corner; false when the model has no face.
bool CalculateModelBox(Model& model);

inline constexpr double kPointExtent = 1.0;

}  // namespace tamsel
