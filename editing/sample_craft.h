// A craft made procedurally, as a ready project folder: hull segments with two levels of
// detail (quads and triangles), texture coordinates and normals, generated 8-bit textures
// with transparent and illuminated colours, flight-group texture slots, hardpoints, engine
// glows, hitzone descriptors and rotations. Used for trying the editor and for benchmarks.
#pragma once

#include <filesystem>

#include "model/model.h"

namespace tamsel {

struct SampleOptions {
  int meshes = 4;
  int faces = 96;  // high-level faces per mesh (about); the low level has a quarter
  int textures = 4;
  int size = 64;  // texture width and height
};

// Fills model (replacing its contents) and writes the project folder: the bitmaps and the
// project file. Throws FileError.
void GenerateSample(Model& model, const std::filesystem::path& folder,
                    const SampleOptions& options);

}  // namespace tamsel
