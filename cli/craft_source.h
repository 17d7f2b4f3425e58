// The craft a read-only command works on: an OPT file's meshes, textures and bitmaps, or a
// project with the bitmaps of its folder.
#pragma once

#include <filesystem>

#include "model/model.h"
#include "opt/opt_writer.h"

namespace tamsel {

struct CraftSource {
  Model model;
  BitmapLoader bitmaps;  // throws FileError for a texture it has no bitmap of
  bool fromOpt = false;
};

CraftSource ReadCraft(const std::filesystem::path& source);

}  // namespace tamsel
