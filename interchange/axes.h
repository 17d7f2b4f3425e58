// Tamsel's axes and those of the interchange formats. A craft's nose points along +Y, its top
// along -Z and its right side along -X: the frame the Top, Front and Right views look along
// (from -Z, +Y and -X). Both frames are right-handed, so a format's axes map onto the craft's
// by a rotation and nothing is mirrored:
//   glTF and OBJ (Y up, the front facing +Z): (x, y, z) in the file is (x, z, -y) here;
//   a modelling tool's Z-up file (the front facing -Y): (x, y, z) is (x, -y, -z) here.
//
// Windings: Calculate > Face Normals takes -(P1 - P0) x (PL - P0), so a Tamsel face lists its
// corners clockwise seen from outside; the formats list them counter-clockwise. A rotation
// keeps the sense of a winding, so corners travel in reverse order (corner 0 first).
//
// Exports of the first version of our glTF (asset.extras.tamsel 1) mirrored the axes instead,
// (x, y, z) <-> (x, z, y), with corners in their own order; MirroredFileAxes reads them back.
#pragma once

#include "model/records.h"

namespace tamsel {

enum class UpAxis { Y, Z };

inline Single3 FromFileAxes(float x, float y, float z, UpAxis up) {
  return up == UpAxis::Y ? Single3{x, z, -y} : Single3{x, -y, -z};
}

inline Single3 ToFileAxes(const Single3& p, UpAxis up) {
  return up == UpAxis::Y ? Single3{p.x, -p.z, p.y} : Single3{p.x, -p.y, -p.z};
}

// The axes of our first glTF exports: mirrored, their own inverse.
inline Single3 MirroredFileAxes(float x, float y, float z) {
  return {x, z, y};
}

}  // namespace tamsel
