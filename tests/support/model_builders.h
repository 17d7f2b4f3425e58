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

// Two meshes with levels, quads and triangles, hitzone, rotation, hardpoints and engine
// glows, and two textures with transparent and illuminated colours; every Single distinct.
Model RichModel();

}  // namespace tamsel::test
