// What the game loads: two profiles of limits, the original game's and those of the game
// with the modding community's patches. The user picks one; the check measures against it.
#pragma once

#include <optional>
#include <string_view>

namespace tamsel {

enum class Profile { Original, Patched };

struct CraftLimits {
  int meshes;         // meshes past this count are not loaded
  int meshVertices;   // distinct positions of one mesh over all its levels
  int textures;       // textures written into the file
  int textureSide;    // largest side of a texture; 0: any power of two
  int hardpoints;     // over the whole craft
  int engineGlows;    // over the whole craft
  int rotatingParts;  // meshes with a rotation
};

const CraftLimits& LimitsOf(Profile profile);

// "original" and "patched", as the settings and the command line name them.
std::string_view ProfileName(Profile profile);
std::optional<Profile> ProfileNamed(std::string_view name);

}  // namespace tamsel
