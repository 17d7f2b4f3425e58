#include "opt/bitmap.h"

#include <cstring>

#include "model/file_error.h"

namespace tamsel {
namespace {

void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

constexpr std::size_t kTexelOffset = 14 + 40 + 1024;

std::size_t Stride(std::int32_t width) {
  return (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
}

}  // namespace

Bytes EncodeBitmap(const Bitmap& bitmap) {
  const std::size_t w = static_cast<std::size_t>(bitmap.width),
                    h = static_cast<std::size_t>(bitmap.height);
  const std::size_t stride = Stride(bitmap.width);
  Bytes b(kTexelOffset + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 2, static_cast<std::uint32_t>(b.size()));
  PutU32(b, 10, kTexelOffset);
  PutU32(b, 14, 40);
  PutU32(b, 18, static_cast<std::uint32_t>(bitmap.width));
  PutU32(b, 22, static_cast<std::uint32_t>(bitmap.height));
  PutU16(b, 26, 1);
  PutU16(b, 28, 8);
  std::memcpy(&b[54], bitmap.palette.data(), 1024);
  for (std::size_t row = 0; row < h; ++row)
    std::memcpy(&b[kTexelOffset + row * stride], &bitmap.texels[row * w], w);
  return b;
}

Bitmap DecodeBitmap(const Bytes& b, const std::string& fileName) {
  const auto fail = [&](std::size_t offset, const std::string& what) -> Bitmap {
    throw FileError(fileName, FileError::Offset(static_cast<std::int64_t>(offset)), what);
  };
  if (b.size() < 54) return fail(b.size(), "the file is too short for a bitmap header");
  if (b[0] != 'B' || b[1] != 'M') return fail(0, "not a bitmap (no \"BM\" signature)");
  const std::uint32_t texelOffset = U32(b, 10);
  const std::uint32_t infoSize = U32(b, 14);
  if (infoSize < 40 || 14 + static_cast<std::uint64_t>(infoSize) > b.size())
    return fail(14, "unsupported bitmap information header");
  const auto width = static_cast<std::int32_t>(U32(b, 18));
  const auto rawHeight = static_cast<std::int32_t>(U32(b, 22));
  if (U16(b, 28) != 8)
    return fail(28, "the bitmap has " + std::to_string(U16(b, 28)) +
                        " bits per texel; textures must be 8-bit with a palette");
  if (U32(b, 30) != 0) return fail(30, "compressed bitmaps are not supported");
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 65536)
    return fail(18, "impossible bitmap size");
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  if (height > 65536) return fail(22, "impossible bitmap size");
  std::uint32_t colours = U32(b, 46);
  if (colours == 0 || colours > 256) colours = 256;
  const std::size_t paletteAt = 14 + infoSize;
  if (paletteAt + 4 * static_cast<std::size_t>(colours) > b.size() || texelOffset > b.size() ||
      texelOffset < paletteAt + 4 * static_cast<std::size_t>(colours))
    return fail(10, "the palette or the texel offset lies outside the file");

  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  std::memcpy(bitmap.palette.data(), &b[paletteAt], 4 * static_cast<std::size_t>(colours));
  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  const std::size_t available = b.size() - texelOffset;
  std::size_t stride = Stride(width);
  if (available < stride * h) {
    if (available < w * h)
      return fail(b.size(), "the file ends inside the texels (" + std::to_string(w * h) +
                                " expected, " + std::to_string(available) + " present)");
    stride = w;  // written without row padding
  }
  bitmap.texels.resize(w * h);
  for (std::size_t row = 0; row < h; ++row) {
    const std::size_t from = texelOffset + (topDown ? h - 1 - row : row) * stride;
    std::memcpy(&bitmap.texels[row * w], &b[from], w);
  }
  return bitmap;
}

std::array<std::uint8_t, 3> DecodeColor565(std::uint16_t c) {
  return {static_cast<std::uint8_t>((c >> 11) * 8), static_cast<std::uint8_t>(((c >> 5) & 63) * 4),
          static_cast<std::uint8_t>((c & 31) * 8)};
}

Bitmap BitmapFromOptTexture(const std::uint8_t* paletteLevel8, const std::uint8_t* texels,
                            std::int32_t width, std::int32_t height) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  for (int k = 0; k < 256; ++k) {
    const auto c = static_cast<std::uint16_t>(paletteLevel8[2 * k] | paletteLevel8[2 * k + 1] << 8);
    const auto rgb = DecodeColor565(c);
    bitmap.palette[static_cast<std::size_t>(4 * k)] = rgb[2];
    bitmap.palette[static_cast<std::size_t>(4 * k + 1)] = rgb[1];
    bitmap.palette[static_cast<std::size_t>(4 * k + 2)] = rgb[0];
    bitmap.palette[static_cast<std::size_t>(4 * k + 3)] = 0;
  }
  bitmap.texels.assign(texels,
                       texels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return bitmap;
}

}  // namespace tamsel
