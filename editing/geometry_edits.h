// The geometry panel's edits, the level-of-detail assignment and the Fix commands, as
// functions over the model. Every edit skips meshes that lack the level it works on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

struct MeshUpdate {
  double distance = 0;  // km
  double scale = 100;   // percent
  double x = 0, y = 0, z = 0;
};

// Mesh-level UPDATE of every mesh selected at `level`: the distance, then every corner to
// scale * (p + T), and T added to the hitzone centre, minimum, maximum and target, the
// pivot, the hardpoints and the engine glows. Recomputes the bounds. Returns the number of
// meshes changed.
int UpdateSelectedMeshes(Model& model, int level, const MeshUpdate& u);

// Face-level UPDATE: the focused face, when selected, gets the normal.
bool UpdateFocusedFaceNormal(Model& model, int level, FaceRef focused, const Single3& normal);

// Vertex-level UPDATE: every selected corner (of every mesh with the level) moves to the
// position; the focused corner, when selected, also gets the normal. Moving corner 0 of a
// triangle moves its copy in corner 3 along, so the face stays a triangle. Returns the
// number of corners moved.
int UpdateSelectedCorners(Model& model, int level, const Single3& position,
                          std::optional<CornerRef> focused, const Single3& normal);

// Gives mesh `mesh` the name, control characters made '_' (a name is one line of the
// project file); false when there is no such mesh.
bool RenameMesh(Model& model, int mesh, const std::string& name);

// Removes the meshes selected at `level`; returns the removed indices, in increasing order.
std::vector<int> DeleteSelectedMeshes(Model& model, int level);

// Makes the high level of the first other mesh selected at its high level the low level
// of `target`, with distance 1000, and removes that mesh. Returns its former index, or -1
// when nothing changed (no target, or no other selected mesh).
int AssignLowLevel(Model& model, int target);

// Splits every four-cornered face into (P0, P1, P3) and (P1, P2, P3); the copied corners
// and the new face get fresh ids. Recomputes the bounds. Returns the number of faces added.
int Quad2Tri(Model& model);

// Reverses the corner order of every face (positions only).
void ReverseVertexOrder(Model& model);

}  // namespace tamsel
