// Small models for tests.
#pragma once

#include <string>

#include "model/model.h"

namespace tamsel::test {

VertexRec Corner(float x, float y, float z, float u = 0, float v = 0);
FaceRec Quad(VertexRec a, VertexRec b, VertexRec c, VertexRec d,
             const std::string& texture = "t.BMP");
FaceRec Triangle(VertexRec a, VertexRec b, VertexRec c, const std::string& texture = "t.BMP");

// A mesh with the given faces at the high level, and a low level when low is not empty.
MeshRec MeshWith(std::vector<FaceRec> high, std::vector<FaceRec> low = {},
                 std::string name = "mesh");

// Expects the same hitzone, rotation, hardpoints and engine glows: what a mesh keeps
// through the project file and through the OPT file alike.
void ExpectSameFeatures(const MeshRec& a, const MeshRec& b);

// The sides of a box in the craft's axes: the top faces -Z, the nose +Y, the right side
// -X. Each has its own texture, named "NAME.BMP".
struct BoxSide {
  const char* name;
  Single3 outward;
};
inline constexpr BoxSide kBoxSides[6] = {{"top", {0, 0, -1}},   {"bottom", {0, 0, 1}},
                                         {"front", {0, 1, 0}},  {"back", {0, -1, 0}},
                                         {"right", {-1, 0, 0}}, {"left", {1, 0, 0}}};

// A side of a box of half-size `half` around `centre`: a quad whose corners run clockwise
// seen from the side `outward` points to (counter-clockwise seen from there when
// `insideOut`), texture "NAME.BMP".
FaceRec BoxFace(const BoxSide& side, Single3 centre = {0, 0, 0}, float half = 1,
                bool insideOut = false);
// A mesh of the six sides.
MeshRec ColouredBox(Single3 centre = {0, 0, 0}, float half = 1, bool insideOut = false);

// The cross product of a face's first two edges: the side its corners wind towards (the
// inside, for a face wound as the box's sides are).
Single3 Winding(const FaceRec& face);

// A UV sphere of the radius around the origin, its faces wound as the box's (clockwise seen
// from outside): quads between the poles, triangles at them; `rings` x `segments` faces.
MeshRec UvSphere(float radius, int rings, int segments, const std::string& texture = "t.BMP");

// Two meshes with levels, quads and triangles, hitzone, rotation, hardpoints and engine
// glows, and two textures with transparent and illuminated colours; every Single distinct.
Model RichModel();

}  // namespace tamsel::test
