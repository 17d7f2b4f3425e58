// Tamsel's axes and those of the interchange formats. Tamsel's Z is up (the Top view looks
// down it) and Y runs fore and aft (the Front view looks along it); most formats have Y up
// (glTF: Y up, the front facing +Z). A model with Y up comes in turned by +90 degrees about
// X: (x, y, z) -> (x, -z, y), which is the same turn a modelling tool with Z up makes on its
// way out; export turns the other way. Both are rotations, so they keep windings, and
// exact: an export followed by an import gives the same numbers.
//
// Windings: Calculate > Face Normals takes -(P1 - P0) x (PL - P0), so a Tamsel face lists its
// corners clockwise as seen from outside; the formats list them counter-clockwise. Import
// and export reverse the order after corner 0: (0, 1, 2, 3) <-> (0, 3, 2, 1).
#pragma once

#include "model/records.h"

namespace tamsel {

enum class UpAxis { Y, Z };

inline Single3 FromFileAxes(float x, float y, float z, UpAxis up) {
  return up == UpAxis::Y ? Single3{x, -z, y} : Single3{x, y, z};
}

inline Single3 ToFileAxes(const Single3& p, UpAxis up) {
  return up == UpAxis::Y ? Single3{p.x, p.z, -p.y} : p;
}

}  // namespace tamsel
