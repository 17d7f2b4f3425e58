// Splitting a mesh that has more distinct vertex positions than the game loads into meshes
// under the limit, keeping its levels, textures and features.
#pragma once

#include <vector>

#include "model/model.h"

namespace tamsel {

// The parts of `mesh`, each with at most `limit` distinct positions over its levels. Faces
// are taken in order along the mesh's longest side, so each part is one piece of the mesh;
// every face goes to exactly one part, keeping its level, order within the level, ids and
// texture names. The first part keeps the mesh's name, hardpoints and engine glows; every
// part keeps its hitzone and rotation, so that together they act as the mesh did. A part
// without faces at the low level has the high level only (it shows up to the high level's
// distance, where the other parts' low faces take over). Later parts are called "NAME 2",
// "NAME 3" … and their levels get fresh ids.
std::vector<MeshRec> SplitMesh(const MeshRec& mesh, int limit, IdCounters& ids);

}  // namespace tamsel
