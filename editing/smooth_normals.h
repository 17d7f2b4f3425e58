// Vertex normals smoothed by angle: shading that is smooth where the surface curves and
// sharp at its edges.
#pragma once

#include <vector>

#include "model/model.h"

namespace tamsel {

// Gives every corner of every level of the listed meshes (every mesh when the list is
// empty) the normal of the surface around it: the faces at the corner's position in the
// same level of the same mesh whose planes meet the corner's own face at `degrees` or less
// (the corner's face always), each weighted by the angle its corners make there. Faces
// that meet at a sharper angle keep separate normals, so hard edges stay hard. A face's
// plane is its winding's (the outward side). Returns the number of corners given a normal.
std::int64_t SmoothNormalsByAngle(Model& model, double degrees,
                                  const std::vector<int>& meshes = {});

}  // namespace tamsel
