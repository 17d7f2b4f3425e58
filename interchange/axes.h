// Tamsel's axes and those of the interchange formats. A craft's nose points along +Y and
// its top along +Z, and the viewport shows it as the game does, in left-handed axes: seen
// from above with the nose up, +X is on the left. The formats are right-handed, so that a
// craft looks in another tool as it looks here, and not mirrored, the axes are mirrored on
// the way out and back. glTF and OBJ have Y up and the front facing +Z: (x, y, z) goes to
// (x, z, y) and back the same way. A file with Z up (a modelling tool's, front facing -Y)
// comes in as (x, -y, z). Each map is exact and undoes itself.
//
// Windings: Calculate > Face Normals takes -(P1 - P0) x (PL - P0), so a Tamsel face lists its
// corners clockwise as seen from outside, read in right-handed axes; the formats list them
// counter-clockwise. The mirror of the axes turns one into the other, so corners travel in
// their own order.
#pragma once

#include "model/records.h"

namespace tamsel {

enum class UpAxis { Y, Z };

inline Single3 FromFileAxes(float x, float y, float z, UpAxis up) {
  return up == UpAxis::Y ? Single3{x, z, y} : Single3{x, -y, z};
}

inline Single3 ToFileAxes(const Single3& p, UpAxis up) {
  return up == UpAxis::Y ? Single3{p.x, p.z, p.y} : Single3{p.x, -p.y, p.z};
}

}  // namespace tamsel
