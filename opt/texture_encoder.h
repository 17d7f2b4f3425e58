// Writing one texture in full: its node, the texels of every level, its 16-level palette
// block (or a pointer to an equal one written before) and, when it has transparent
// colours, its opacity node.
#pragma once

#include <array>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/records.h"
#include "opt/bitmap.h"
#include "opt/opt_out.h"

namespace tamsel {

struct TextureLevels {
  std::vector<std::pair<int, int>> sizes;  // width, height of each level, first level first
  std::int64_t texels = 0;                 // of all levels together
};

// Levels halve width and height while both are greater than 1; a level keeps the
// odd-numbered rows and texels (counting from 1) of the one before, so a side of n
// becomes ceil(n / 2), and counts and texels always agree.
TextureLevels LevelsOf(int width, int height);

// The palette level-L value of a colour: each channel + 8 (L - 8), clamped, packed 5-6-5.
std::uint16_t PaletteLevelColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, int level);

// The palette entries of a bitmap that glow (match an illuminated colour within its
// tolerance), and those whose texels take the texture's opacity: the entry's level-8
// colour as the game decodes it, or its own colour, matches a transparent colour.
std::array<bool, 256> GlowingEntries(const Bitmap& bitmap, const TextureRec& texture);
std::array<bool, 256> TransparentEntries(const Bitmap& bitmap, const TextureRec& texture);

class TextureEncoder {
 public:
  explicit TextureEncoder(std::mt19937& random) : random_(random) {}
  // Appends the TextureNode of texture `name` (and its palette block and alpha node).
  void Write(OptOut& out, const std::string& name, const TextureRec& texture, const Bitmap& bitmap);

 private:
  std::mt19937& random_;
  // Palette blocks written for textures without illuminated colours, by their bitmap
  // palette: a hash, so that thousands of textures do not compare every pair.
  std::unordered_map<std::string, std::size_t> shareable_;
};

}  // namespace tamsel
