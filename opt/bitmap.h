// 8-bit palettised bitmaps, the project's texture files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/file_io.h"

namespace tamsel {

struct Bitmap {
  std::int32_t width = 0, height = 0;
  // 256 colours of blue, green, red, 0: the bytes as they stand in the file.
  std::array<std::uint8_t, 1024> palette{};
  // width x height palette indices, bottom row first, without row padding.
  std::vector<std::uint8_t> texels;

  std::uint8_t Red(int k) const { return palette[static_cast<std::size_t>(4 * k + 2)]; }
  std::uint8_t Green(int k) const { return palette[static_cast<std::size_t>(4 * k + 1)]; }
  std::uint8_t Blue(int k) const { return palette[static_cast<std::size_t>(4 * k)]; }
};

// The file's bytes: 14-byte file header, 40-byte information header, 1024-byte palette,
// then the rows bottom first, each padded to a multiple of 4 bytes as every reader expects.
Bytes EncodeBitmap(const Bitmap& bitmap);

// Reads an uncompressed 8-bit bitmap. Rows may be padded (the standard) or, for files
// written without padding, packed; which one is told by the file's size. Top-down files
// are turned bottom row first. Throws FileError naming fileName and what is wrong.
Bitmap DecodeBitmap(const Bytes& bytes, const std::string& fileName);

// One 5-6-5 colour as the bitmap colour red x 8, green x 4, blue x 8 (low bits left 0).
std::array<std::uint8_t, 3> DecodeColor565(std::uint16_t color);

// The bitmap of an OPT texture: palette level 8 (512 bytes, 256 little-endian 5-6-5
// colours) and the first-level texels.
Bitmap BitmapFromOptTexture(const std::uint8_t* paletteLevel8, const std::uint8_t* texels,
                            std::int32_t width, std::int32_t height);

}  // namespace tamsel
