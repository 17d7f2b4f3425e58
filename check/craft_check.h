// The craft check: the game's limits, missing or stale data, geometry faults, texture
// faults and misplaced ship features, each a finding with its element and, where a sound
// one exists, its fix.
#pragma once

#include <vector>

#include "check/bitmap_facts.h"
#include "check/craft_limits.h"
#include "check/finding.h"
#include "model/model.h"

namespace tamsel {

// The findings, errors first, then warnings, then notes; within a severity in the order of
// the craft (mesh, level, face; textures after meshes).
std::vector<Finding> CheckCraft(const Model& model, Profile profile,
                                const BitmapFactsSource& bitmaps);

struct FindingCounts {
  int errors = 0, warnings = 0, notes = 0;
};
FindingCounts CountFindings(const std::vector<Finding>& findings);

// Mesh types the game turns: the "Rot" types of the hitzone panel's list.
bool IsRotatingType(std::int32_t meshType);

// "mesh 3 \"Hull\"", "the high level of mesh 3 \"Hull\"", "texture \"hull.BMP\"": how a
// finding names its element, numbers counting from 1 as the lists show them.
std::string MeshWords(const Model& model, int mesh);
std::string LevelWords(const Model& model, int mesh, int level);

}  // namespace tamsel
