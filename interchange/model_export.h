// Exporting the craft to the formats of the general modelling tools: glTF 2.0 (.gltf with
// its .bin and PNG images, or one .glb) and OBJ with its MTL and PNG images (the high
// levels only). Axes and windings as in axes.h.
#pragma once

#include <filesystem>

#include "model/model.h"
#include "opt/opt_writer.h"

namespace tamsel {

// By the extension of `out`: .gltf, .glb or .obj. All files are written together or none.
// Throws FileError.
void ExportModel(const Model& model, const BitmapLoader& bitmaps, const std::filesystem::path& out);

// OBJ + MTL + PNG images. Object names are one word in OBJ: blanks in mesh names become '_'.
void WriteObj(const Model& model, const BitmapLoader& bitmaps, const std::filesystem::path& out);

}  // namespace tamsel
