#include "opt/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/file_error.h"

namespace tamsel {
namespace {

Bitmap Sample(int w, int h) {
  Bitmap b;
  b.width = w;
  b.height = h;
  for (int k = 0; k < 256; ++k) {
    b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>(k);
    b.palette[static_cast<std::size_t>(4 * k + 1)] = static_cast<std::uint8_t>(255 - k);
    b.palette[static_cast<std::size_t>(4 * k + 2)] = static_cast<std::uint8_t>(k / 2);
  }
  for (int i = 0; i < w * h; ++i) b.texels.push_back(static_cast<std::uint8_t>(i * 7));
  return b;
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BitmapWriter, HeaderPaletteAndTexelsAtTheirOffsets) {
  const Bitmap b = Sample(256, 256);
  const Bytes bytes = EncodeBitmap(b);
  ASSERT_EQ(bytes.size(), 66614u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 19778);
  EXPECT_EQ(U32(bytes, 2), 66614u);
  EXPECT_EQ(U32(bytes, 6), 0u);
  EXPECT_EQ(U32(bytes, 10), 1078u);
  EXPECT_EQ(U32(bytes, 14), 40u);
  EXPECT_EQ(U32(bytes, 18), 256u);
  EXPECT_EQ(U32(bytes, 22), 256u);
  EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
  EXPECT_EQ(bytes[28] | bytes[29] << 8, 8);
  for (std::size_t i = 30; i < 54; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(bytes[54 + 4 * 10 + 1], 245);  // green of colour 10
  EXPECT_EQ(bytes[1078 + 300], b.texels[300]);
}

TEST(BitmapWriter, RowsOfOddWidthsArePaddedAndReadBack) {
  for (int w : {1, 2, 3, 5, 6, 7, 8}) {
    const Bitmap b = Sample(w, 3);
    const Bytes bytes = EncodeBitmap(b);
    const std::size_t stride = (static_cast<std::size_t>(w) + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), 1078 + stride * 3) << w;
    EXPECT_EQ(bytes[1078 + stride], b.texels[static_cast<std::size_t>(w)])
        << "second row starts at the stride";
    const Bitmap back = DecodeBitmap(bytes, "x.bmp");
    EXPECT_EQ(back.texels, b.texels) << w;
    EXPECT_EQ(back.palette, b.palette);
  }
}

TEST(BitmapReader, AcceptsUnpaddedAndTopDownFiles) {
  const Bitmap b = Sample(3, 2);
  // As older writers left it: the texels packed without padding.
  Bytes packed = EncodeBitmap(b);
  packed.resize(1078);
  packed.insert(packed.end(), b.texels.begin(), b.texels.end());
  EXPECT_EQ(DecodeBitmap(packed, "p.bmp").texels, b.texels);
  // Top-down: negative height, top row first.
  Bytes topDown = EncodeBitmap(b);
  const std::int32_t minus = -2;
  std::memcpy(&topDown[22], &minus, 4);
  const Bitmap flipped = DecodeBitmap(topDown, "t.bmp");
  EXPECT_EQ(flipped.height, 2);
  EXPECT_EQ(flipped.texels[0], b.texels[3]);
  EXPECT_EQ(flipped.texels[3], b.texels[0]);
}

TEST(BitmapReader, RefusesWhatIsNotAn8BitBitmap) {
  const Bytes good = EncodeBitmap(Sample(4, 4));
  const auto broken = [&](std::size_t at, std::uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  EXPECT_THROW(DecodeBitmap(broken(0, 'X'), "a"), FileError);
  EXPECT_THROW(DecodeBitmap(broken(28, 24), "a"), FileError);    // 24 bits per texel
  EXPECT_THROW(DecodeBitmap(broken(30, 1), "a"), FileError);     // RLE
  EXPECT_THROW(DecodeBitmap(broken(21, 0x7f), "a"), FileError);  // huge width
  EXPECT_THROW(DecodeBitmap(broken(11, 0x7f), "a"), FileError);  // texels past the end
  for (std::size_t cut = 0; cut < good.size(); cut += 7) {
    Bytes b(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_THROW(DecodeBitmap(b, "cut.bmp"), FileError) << cut;
  }
  try {
    DecodeBitmap(broken(28, 24), "ship.bmp");
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("ship.bmp, byte 28"), std::string::npos) << e.what();
  }
}

TEST(Color565, DecodesWithoutFillingTheLowBits) {
  EXPECT_EQ(DecodeColor565(0x0000), (std::array<std::uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(DecodeColor565(0xF800), (std::array<std::uint8_t, 3>{248, 0, 0}));
  EXPECT_EQ(DecodeColor565(0xFFFF), (std::array<std::uint8_t, 3>{248, 252, 248}));
  const std::uint8_t level8[512] = {0x00, 0xF8, 0xE0, 0x07};  // red, green, then black
  const std::uint8_t texels[2] = {0, 1};
  const Bitmap b = BitmapFromOptTexture(level8, texels, 2, 1);
  EXPECT_EQ(b.Red(0), 248);
  EXPECT_EQ(b.Blue(0), 0);
  EXPECT_EQ(b.Green(1), 252);
  EXPECT_EQ(b.palette[3], 0);
}

}  // namespace
}  // namespace tamsel
