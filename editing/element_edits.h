// Deleting and duplicating what a shaping command works on (see EditTarget). Each is one
// undo step for the caller; a target that holds nothing changes nothing and returns 0.
#pragma once

#include "editing/edit_target.h"
#include "model/model.h"

namespace tamsel {

// Removes the selected meshes, the selected faces of the selected meshes at the level, or
// the hardpoint or engine glow. Corners are not removed alone (their face would lose its
// shape): 0. Returns how many elements went.
int DeleteTarget(Model& model, const EditTarget& target);

// Copies the selected meshes (every level, hitzone, rotation, hardpoints and engine glows;
// the copies appended after the last mesh, named "NAME copy"), the selected faces (appended
// to their level), or the hardpoint or engine glow (appended to its mesh). Copies get fresh
// ids; the copies become the selection and the originals leave it. Returns how many
// elements were copied.
int DuplicateTarget(Model& model, EditTarget& target);

// The same copy of a face with fresh ids for it and its corners, unselected.
FaceRec CopyOfFace(const FaceRec& face, IdCounters& ids);

}  // namespace tamsel
