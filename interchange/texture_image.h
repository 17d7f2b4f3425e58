// Images of other formats as the project's 8-bit bitmaps, and back: decoding (PNG, JPEG,
// TGA, BMP ...), reduction to 256 colours, power-of-two sizes, transparency by a key
// colour; and for export, a texture's colours with its opacity and glow as PNG images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/records.h"
#include "opt/bitmap.h"

namespace tamsel {

// Red, green, blue, alpha per texel, top row first.
struct RgbaImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

// The largest picture decoded (8192 x 8192): larger ones are refused from their header,
// before any memory is taken for their pixels.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{8192} * 8192;

// Throws FileError naming `name` when the bytes are no image stb can read, or one of more
// than kMaxImagePixels pixels.
RgbaImage DecodeImage(const Bytes& bytes, const std::string& name);
Bytes EncodePng(const RgbaImage& image);

struct TextureOptions {
  int maxSize = 256;   // a side larger than this is resampled down
  bool dither = true;  // when true-colour images are reduced to 256 colours
};

// An image as an 8-bit bitmap with the transparency settings it needs.
struct IndexedTexture {
  Bitmap bitmap;
  std::vector<RGB> transColors;  // the key colour of fully transparent texels, if any
  std::uint8_t transOpacity = 255;
};

// Sides that are not powers of two, or above options.maxSize, become the largest power of
// two not above either; an image of at most 256 colours keeps exactly its colours, others
// are reduced. Fully transparent texels take a key colour of their own, listed as a
// transparent colour with opacity 0; partly transparent ones are drawn opaque. Each lossy
// step adds a warning naming `name`.
IndexedTexture ToIndexed(RgbaImage image, const TextureOptions& options, const std::string& name,
                         std::vector<std::string>& warnings);

// A small bitmap of one colour, for a material without an image.
Bitmap PlainColourBitmap(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The bitmap's colours, top row first; texels of transparent colours (by the OPT writer's
// test) get the texture's opacity as alpha.
RgbaImage BaseColourImage(const Bitmap& bitmap, const TextureRec& texture);
// The texels of illuminated colours, black elsewhere; false when no texel glows.
bool EmissiveImage(const Bitmap& bitmap, const TextureRec& texture, RgbaImage& out);

}  // namespace tamsel
