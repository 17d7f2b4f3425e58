// Turning and mirroring the selection: the meshes selected at a level, or the selected
// faces of those meshes. Each is one undo step for the caller. The centre is the centre of
// the selection's box, computed exactly; a quarter turn and a mirror then move positions
// that lie on a binary grid (as modelled craft mostly do) exactly, so that four quarter
// turns or two mirrors give the craft back bit for bit. Other positions are rounded to the
// nearest Single after each step.
#pragma once

#include "model/model.h"

namespace tamsel {

enum class Axis { X, Y, Z };
enum class TransformScope { Meshes, Faces };

// Turns the selection by `degrees` (right-handed, about the axis pointing at the viewer)
// about the line parallel to `axis` through the selection's centre. Corners, their normals,
// face normals and software vectors turn; at mesh scope also the hitzone, the rotation's
// pivot and vectors, the hardpoints and the engine glows. Recomputes the bounds. Returns
// the number of faces turned.
int RotateSelection(Model& model, int level, TransformScope scope, Axis axis, double degrees);

// Mirrors the selection across the plane through its centre perpendicular to `axis`. Each
// face's corners are put in reverse order (triangles keep corner 3 at corner 0), so that a
// face keeps its outward side; normals and vectors are mirrored too. Returns the number of
// faces mirrored.
int MirrorSelection(Model& model, int level, TransformScope scope, Axis axis);

}  // namespace tamsel
