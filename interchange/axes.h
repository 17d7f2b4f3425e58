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

// A file's axes in general, as FBX declares them: which of its axes (0 X, 1 Y, 2 Z, each
// with a sign) is up, which points to the model's front and which is the third ("coord")
// axis. Up becomes the craft's top (-Z), the front its nose (+Y), the coord axis +X; a Y-up
// file facing +Z and a Z-up file facing -Y come out as FromFileAxes has them.
struct FileAxes {
  int up = 1, upSign = 1, front = 2, frontSign = 1, coord = 0, coordSign = 1;

  static FileAxes Of(UpAxis axis) {
    return axis == UpAxis::Y ? FileAxes{} : FileAxes{2, 1, 1, -1, 0, 1};
  }
  // Three different axes, each sign 1 or -1.
  bool Valid() const {
    const auto axis = [](int a) { return a >= 0 && a <= 2; };
    const auto sign = [](int s) { return s == 1 || s == -1; };
    return axis(up) && axis(front) && axis(coord) && up != front && up != coord && front != coord &&
           sign(upSign) && sign(frontSign) && sign(coordSign);
  }
  Single3 ToCraft(float x, float y, float z) const {
    const float p[3] = {x, y, z};
    return {static_cast<float>(coordSign) * p[coord], static_cast<float>(frontSign) * p[front],
            -static_cast<float>(upSign) * p[up]};
  }
  // Whether the file's axes are left-handed, so that the map mirrors: a winding then keeps
  // its order as it comes in.
  bool Mirrors() const {
    // The map's columns are signed unit vectors; its determinant is the permutation's
    // parity times the signs (the up axis's turned round by the craft's -Z).
    int perm[3];
    perm[coord] = 0, perm[front] = 1, perm[up] = 2;
    const int inversions = (perm[0] > perm[1]) + (perm[0] > perm[2]) + (perm[1] > perm[2]);
    const int parity = inversions % 2 ? -1 : 1;
    return parity * coordSign * frontSign * -upSign < 0;
  }
};

// The axes of our first glTF exports: mirrored, their own inverse.
inline Single3 MirroredFileAxes(float x, float y, float z) {
  return {x, z, y};
}

}  // namespace tamsel
