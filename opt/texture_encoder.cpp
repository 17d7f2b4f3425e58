#include "opt/texture_encoder.h"

#include <algorithm>
#include <cstdlib>

#include "opt/color565.h"

namespace tamsel {
namespace {

bool Within(int a, int b, int tolerance) {
  return std::abs(a - b) <= tolerance;
}

bool MatchesAny(int r, int g, int b, const std::vector<RGB>& colours, int tolerance) {
  for (const RGB& c : colours)
    if (Within(r, c[0], tolerance) && Within(g, c[1], tolerance) && Within(b, c[2], tolerance))
      return true;
  return false;
}

}  // namespace

TextureLevels LevelsOf(int width, int height) {
  TextureLevels levels;
  int w = width, h = height;
  while (true) {
    levels.sizes.emplace_back(w, h);
    levels.texels += static_cast<std::int64_t>(w) * h;
    if (w <= 1 || h <= 1) break;
    w = (w + 1) / 2;
    h = (h + 1) / 2;
  }
  return levels;
}

std::uint16_t PaletteLevelColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, int level) {
  const auto lift = [level](int c) {
    return static_cast<std::uint8_t>(std::clamp(c + 8 * (level - 8), 0, 255));
  };
  return static_cast<std::uint16_t>(Color565(lift(r), lift(g), lift(b)));
}

std::array<bool, 256> GlowingEntries(const Bitmap& bitmap, const TextureRec& texture) {
  std::array<bool, 256> glowing{};
  for (int k = 0; k < 256; ++k)
    glowing[static_cast<std::size_t>(k)] = MatchesAny(bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k),
                                                      texture.IllumColors, texture.IllumTolerance);
  return glowing;
}

std::array<bool, 256> TransparentEntries(const Bitmap& bitmap, const TextureRec& texture) {
  const std::array<bool, 256> glowing = GlowingEntries(bitmap, texture);
  const int brightness = std::clamp<int>(texture.IllumBrightness, 1, 16);
  std::array<bool, 256> transparent{};
  for (int k = 0; k < 256; ++k) {
    const int level = glowing[static_cast<std::size_t>(k)] ? brightness : 8;
    const auto c = DecodeColor565(PaletteLevelColor(bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k), level));
    transparent[static_cast<std::size_t>(k)] =
        MatchesAny(c[0], c[1], c[2], texture.TransColors, texture.TransTolerance) ||
        MatchesAny(bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k), texture.TransColors,
                   texture.TransTolerance);
  }
  return transparent;
}

void TextureEncoder::Write(OptOut& out, const std::string& name, const TextureRec& texture,
                           const Bitmap& bitmap) {
  const bool alpha = texture.TransOpacity != 255;
  const std::size_t node = out.Size();
  const std::size_t dataAt = node + (alpha ? 37 : 33);
  out.Long(out.PointerAt(node + 24));
  out.Long(20);
  out.Long(alpha ? 1 : 0);
  out.Long(alpha ? out.PointerAt(node + 33) : 0);
  out.Long(std::uniform_int_distribution<std::int32_t>(1, 2147483647)(random_));
  out.Long(out.PointerAt(dataAt));
  out.Name8(name);
  if (alpha) out.Long(0);  // the alpha node's pointer, patched below

  const TextureLevels levels = LevelsOf(bitmap.width, bitmap.height);
  // Texel counts and offsets are 32-bit in the file.
  if (levels.texels > 2147483647)
    throw OptTooLarge("texture " + texture.Name + " (" + std::to_string(bitmap.width) + " x " +
                      std::to_string(bitmap.height) +
                      ") has more texels than the OPT format can count");
  out.Long(0);  // palette pointer, patched below
  out.Long(0);
  out.Long(static_cast<std::int32_t>(static_cast<std::int64_t>(bitmap.width) * bitmap.height));
  out.Long(static_cast<std::int32_t>(levels.texels));
  out.Long(bitmap.width);
  out.Long(bitmap.height);
  const std::size_t texelsAt = out.Size();
  std::vector<std::uint8_t> level = bitmap.texels;
  out.Append(level.data(), level.size());
  for (std::size_t l = 1; l < levels.sizes.size(); ++l) {
    const auto [pw, ph] = levels.sizes[l - 1];
    const auto [w, h] = levels.sizes[l];
    std::vector<std::uint8_t> next(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const auto width = static_cast<std::size_t>(w), previous = static_cast<std::size_t>(pw);
    for (std::size_t y = 0; y < static_cast<std::size_t>(h); ++y)
      for (std::size_t x = 0; x < width; ++x) next[y * width + x] = level[2 * y * previous + 2 * x];
    (void)ph;
    out.Append(next.data(), next.size());
    level = std::move(next);
  }

  // Palette: shared with an equal bitmap palette written before, unless either texture
  // has illuminated colours (their palette entries glow and must not reach another).
  const bool illuminated = !texture.IllumColors.empty();
  std::size_t blockAt = 0;
  bool shared = false;
  const std::string_view key(reinterpret_cast<const char*>(bitmap.palette.data()),
                             bitmap.palette.size());
  if (!illuminated) {
    const auto found = shareable_.find(std::string(key));
    if (found != shareable_.end()) {
      blockAt = found->second;
      shared = true;
    }
  }
  if (!shared) {
    blockAt = out.Size();
    if (!illuminated) shareable_.emplace(key, blockAt);
    const std::array<bool, 256> glowing = GlowingEntries(bitmap, texture);
    const int brightness = std::clamp<int>(texture.IllumBrightness, 1, 16);
    for (int L = 1; L <= 16; ++L)
      for (int k = 0; k < 256; ++k) {
        const int source = glowing[static_cast<std::size_t>(k)] ? brightness : L;
        out.Short(PaletteLevelColor(bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k), source));
      }
  }
  out.PatchLong(dataAt, out.PointerAt(blockAt));
  if (!alpha) return;

  // Transparent colours are tested against the palette's level 8 as the game decodes it,
  // and against the bitmap's own colours, so that a colour picked from the bitmap with
  // tolerance 0 still matches although decoding drops its low bits (see TransparentEntries).
  const std::array<bool, 256> transparent = TransparentEntries(bitmap, texture);
  out.PatchLong(node + 33, out.NextPointer());
  out.Node(26, 0, static_cast<std::int32_t>(levels.texels), true);
  for (std::int64_t i = 0; i < levels.texels; ++i)
    out.Byte(transparent[out.Data()[texelsAt + static_cast<std::size_t>(i)]] ? texture.TransOpacity
                                                                             : 255);
}

}  // namespace tamsel
