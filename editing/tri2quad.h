// Tri2Quad: the inverse of Quad2Tri. Pairs of triangles that share an edge and together
// make a flat convex quad become that quad again.
#pragma once

#include "model/model.h"

namespace tamsel {

// Merges triangle pairs of the same level, in the selected faces of the selected meshes at
// `level` when `selectedOnly`, in every level of every mesh otherwise. A pair merges when
// the two triangles share an edge walked in opposite directions, their shared corners
// carry the same coordinates, normals and texture slots, and the quad they make passes
// the imports' flatness and convexity rule. Triangles that follow each other in the list
// (as Quad2Tri leaves them) pair first, then the rest across their longest shared edge.
// The quad keeps the first triangle's records and takes the other's far corner; the other
// triangle goes. Returns the number of quads made.
int Tri2Quad(Model& model, int level, bool selectedOnly);

// The same for every face of one level, which is not the model's (a level being made).
// Its boxes are left for the caller to compute.
int Tri2QuadLevel(LODRec& level);

}  // namespace tamsel
