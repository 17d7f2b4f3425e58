// Writing the model as an OPT file: per mesh the tables of distinct positions, texture
// coordinates and normals, the descriptor, engine glows, rotation, the levels with their
// texture groups and face data, the hardpoints, and each used texture once in full.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "model/model.h"
#include "opt/bitmap.h"

namespace tamsel {

// Loads the bitmap of a texture record; throws FileError when it cannot.
using BitmapLoader = std::function<Bitmap(const TextureRec&)>;

// Loads ProjectPath/Name.
BitmapLoader ProjectBitmaps(const Model& model);

// The file's bytes. Before anything is written, every texture the faces name is looked
// up and its bitmap loaded; when any is missing or unreadable, throws FileError listing
// every problem (with mesh and face numbers) and nothing is produced. random draws the
// texture ids.
Bytes WriteOptBytes(const Model& model, const BitmapLoader& bitmaps, std::mt19937& random);

// The "create .OPT" command: writes ProjectPath/<folder name>.opt atomically and returns
// its path. With a seed the texture ids, and so the file, are reproducible.
std::filesystem::path CreateOpt(const Model& model, std::optional<std::uint32_t> seed = {});
std::filesystem::path CreateOpt(const Model& model, std::mt19937& random);
std::filesystem::path OptFilePath(const Model& model);

// "TEX" and the texture's list position in five digits.
std::string OptTextureName(std::size_t index);

}  // namespace tamsel
