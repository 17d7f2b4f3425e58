#include "model/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <random>

namespace tamsel {
namespace {

TEST(FormatSingle, ShortestTextWithTheProjectFileExponentForm) {
  EXPECT_EQ(FormatSingle(0.0f), "0");
  EXPECT_EQ(FormatSingle(-0.0f), "0");
  EXPECT_EQ(FormatSingle(0.1f), "0.1");
  EXPECT_EQ(FormatSingle(-2.5f), "-2.5");
  EXPECT_EQ(FormatSingle(100.0f), "100");
  EXPECT_EQ(FormatSingle(1234567.0f), "1234567");
  EXPECT_EQ(FormatSingle(1e-5f), "1E-05");
  EXPECT_EQ(FormatSingle(-3.25e-7f), "-3.25E-07");
  EXPECT_EQ(FormatSingle(1.5e20f), "1.5E+20");
  EXPECT_EQ(FormatSingle(std::numeric_limits<float>::denorm_min()), "1E-45");
}

TEST(FormatSingle, EverySingleReadsBackBitForBit) {
  // Values that seven significant digits cannot hold, and a random sweep.
  std::vector<float> values = {16777217.0f,
                               0.1f + 1e-8f,
                               3.4028235e38f,
                               1.17549435e-38f,
                               std::nextafter(1.0f, 2.0f),
                               std::nextafter(0.3f, 0.0f)};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::uint32_t> bits;
  while (values.size() < 20000) {
    const float f = std::bit_cast<float>(bits(random));
    if (std::isfinite(f)) values.push_back(f);
  }
  for (float v : values) {
    const std::string text = FormatSingle(v);
    const auto back = ParseSingle(text);
    ASSERT_TRUE(back.has_value()) << text;
    if (v == 0) {
      EXPECT_EQ(*back, 0.0f);
    } else {
      EXPECT_EQ(std::bit_cast<std::uint32_t>(*back), std::bit_cast<std::uint32_t>(v)) << text;
    }
  }
}

TEST(ParseNumbers, WholeTextWithBlanksAndEitherExponentCase) {
  EXPECT_EQ(ParseSingle(" 1.5 "), 1.5f);
  EXPECT_EQ(ParseSingle("1E-05"), 1e-5f);
  EXPECT_EQ(ParseSingle("1e-05"), 1e-5f);
  EXPECT_EQ(ParseSingle("+2"), 2.0f);
  EXPECT_EQ(ParseSingle("-7\r"), -7.0f);
  EXPECT_EQ(ParseDouble("0.1"), 0.1);
  EXPECT_EQ(ParseInteger(" -32768 "), -32768);
}

TEST(ParseNumbers, RejectsPartialTextCommasAndNonFiniteValues) {
  for (const char* bad :
       {"", " ", "abc", "1.5x", "1,5", "1 2", "nan", "NaN", "inf", "-inf", "1e39", "--1", "0x10"})
    EXPECT_FALSE(ParseSingle(bad).has_value()) << bad;
  EXPECT_FALSE(ParseDouble("1e400").has_value());
  EXPECT_FALSE(ParseInteger("1.0").has_value());
  EXPECT_FALSE(ParseInteger("99999999999999999999").has_value());
}

}  // namespace
}  // namespace tamsel
