// Levels of detail made from the high level: fewer faces that keep the silhouette, the
// texture seams, the border and each face's textures.
#pragma once

#include <vector>

#include "model/model.h"

namespace tamsel {

struct LodOptions {
  double ratio = 0.25;  // the low level's faces as a share of the high level's
  double error = 0.01;  // the largest deviation allowed, as a share of the mesh's size
};

struct LodReport {
  int mesh = -1;
  int facesBefore = 0, facesAfter = 0;
  double deviation = 0;  // the largest deviation, as a share of the mesh's size
  bool sloppy = false;   // the careful simplifier fell short and the sloppy one was used
};

// The distance (km) at which a craft of the model's size shows its low levels: the craft's
// longest side in units divided by 400, within the switch values' range (a craft a
// thousand units long switches at 2.5 km).
float LowLevelDistance(const Model& model);

// Replaces the low level of each listed mesh (every mesh when the list is empty) with one
// made from its high level: the corners welded by position where nothing else differs, a
// corner whose coordinates, normal or texture differ kept apart (a seam, which the
// simplifier keeps), the border of an open mesh kept, each new face taking the textures of
// its corners' face, and pairs of triangles that make a flat convex quad made quads again.
// The level's distance is LowLevelDistance. Deterministic: the same mesh gives the same
// level. Meshes without a high level or without faces are skipped.
std::vector<LodReport> GenerateLowLevels(Model& model, const std::vector<int>& meshes,
                                         const LodOptions& options);

}  // namespace tamsel
