#include "opt/color565.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tamsel {
namespace {

TEST(MakeBinary, KeepsTheTopFiveSixFiveBitsMostSignificantFirst) {
  EXPECT_EQ(MakeBinary(255, 255, 255), "1111111111111111");
  EXPECT_EQ(MakeBinary(255, 0, 0), "1111100000000000");
  EXPECT_EQ(MakeBinary(0, 255, 0), "0000011111100000");
  EXPECT_EQ(MakeBinary(0, 0, 255), "0000000000011111");
  EXPECT_EQ(MakeBinary(7, 3, 7), "0000000000000000");  // below one step vanishes
  EXPECT_EQ(MakeBinary(8, 4, 8), "0000100000100001");
}

TEST(MakeShort, ReadsBitsAsASigned16BitValue) {
  EXPECT_EQ(MakeShort("1111111111111111"), -1);
  EXPECT_EQ(MakeShort("1111100000000000"), -2048);
  EXPECT_EQ(MakeShort("0111111111111111"), 32767);
  EXPECT_EQ(MakeShort("1000000000000000"), -32768);
  EXPECT_EQ(MakeShort(""), 0);
  EXPECT_EQ(MakeShort("101"), 5);
  EXPECT_THROW(MakeShort("10000000000000000"), std::invalid_argument);
}

TEST(MakeShort, RoundTripsTheWhole16BitRange) {
  for (int v = 0; v <= 0xFFFF; ++v) {
    std::string bits(16, '0');
    for (int i = 0; i < 16; ++i)
      if (v & (1 << (15 - i))) bits[static_cast<std::size_t>(i)] = '1';
    ASSERT_EQ(MakeShort(bits), static_cast<std::int16_t>(v)) << bits;
  }
}

TEST(Color565, AgreesWithMakeShortOfMakeBinary) {
  for (int r = 0; r < 256; ++r)
    for (int g = 0; g < 256; g += 3)
      for (int b : {0, 7, 8, 100, 255}) {
        const auto R = static_cast<std::uint8_t>(r), G = static_cast<std::uint8_t>(g),
                   B = static_cast<std::uint8_t>(b);
        ASSERT_EQ(Color565(R, G, B), MakeShort(MakeBinary(R, G, B))) << r << "," << g << "," << b;
      }
}

}  // namespace
}  // namespace tamsel
