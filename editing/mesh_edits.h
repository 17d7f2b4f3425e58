// Commands on whole meshes and on the craft: new meshes, merging, separating, reordering,
// and the craft centred or scaled. Each is one undo step for the caller.
#pragma once

#include <string>
#include <vector>

#include "editing/focus.h"
#include "model/model.h"

namespace tamsel {

enum class NewShape { Empty, Box, Cylinder, Plane };

// Appends a mesh "Box", "Cylinder", "Plane" or "Mesh" (a number added when the name is
// taken) of side `size` centred at `at`: a box of six quads, a cylinder of 16 sides with
// capped ends along Z, a plane of one quad facing -Z (up, in the craft's axes). Faces wind
// outward with their normals, texture coordinates span each side once, and every slot
// names `texture` ("BLANK" when empty). The hitzone and the rotation's pivot are the
// mesh's box. An empty mesh has a high level without faces. The new mesh alone is selected
// at the high level. Returns its index.
int NewMesh(Model& model, NewShape shape, double size, const Single3& at,
            const std::string& texture);

// Merges the meshes selected at `level` into the first of them: each level's faces after
// its own (a level the first lacks is taken as it is), the others' hardpoints and engine
// glows appended; the first keeps its name, hitzone and rotation. Returns the removed
// meshes' former indices (empty when fewer than two were selected).
std::vector<int> MergeMeshes(Model& model, int level);

// Moves the selected faces of the selected meshes at `level` into a new mesh appended at the
// end (its high level), named after the first mesh they came from with " part", with a
// hitzone and pivot of their box. The new mesh alone is selected. Returns the number of
// faces moved (0: nothing changed).
int SeparateFaces(Model& model, int level);

// Moves mesh `from` to position `to`; false when either is out of range or they are equal.
bool MoveMesh(Model& model, int from, int to);

// The focus after meshes moved: `newIndex[m]` is where mesh m went, -1 when it is gone.
// Elements of a mesh that went leave the focus.
void FollowMeshes(Focus& focus, const std::vector<int>& newIndex);
// newIndex for meshes `removed` (in increasing order) taken out of `count` meshes.
std::vector<int> IndicesAfterRemoval(int count, const std::vector<int>& removed);
// newIndex for mesh `from` moved to `to` among `count` meshes.
std::vector<int> IndicesAfterMove(int count, int from, int to);

// What Assign LOD would do with the selection: which mesh's high level would become which
// mesh's low level, and what that mesh loses; or why nothing would happen.
struct LowLevelPlan {
  int target = -1, source = -1;  // -1: nothing to do
  std::string text;              // the sentence the tool tip and the status bar show
  bool losesFeatures = false;    // the source has hardpoints or engine glows that would go
  bool replacesLow = false;      // the target has a low level already
};
LowLevelPlan PlanLowLevel(const Model& model, int target);

}  // namespace tamsel
