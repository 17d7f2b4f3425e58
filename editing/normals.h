// Face normals, vertex normals and software vectors of the whole model.
#pragma once

#include "model/model.h"

namespace tamsel {

// N = -(a x b) with a = P1 - P0, b = PL - P0 (PL the last corner), made unit length; a
// degenerate face gets (0, 0, 0).
void CalculateFaceNormals(Model& model);
Single3 FaceNormalOf(const FaceRec& face);  // one face's

// Each corner's normal is the plain average of the face normals of every corner at exactly
// its position, over all meshes at the same level index. Results are bit for bit those of
// comparing every pair of corners; the matching uses a hash, so the work is linear.
void CalculateVertexNormals(Model& model);

// Vector1 = (P1 + (P2 - P1) V1) - (P0 + (PL - P0) V0).
void CalculateSoftwareVectors(Model& model);
Single3 SoftwareVectorOf(const FaceRec& face);  // one face's Vector1

}  // namespace tamsel
