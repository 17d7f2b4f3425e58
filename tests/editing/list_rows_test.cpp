#include "editing/list_rows.h"

#include <gtest/gtest.h>

namespace tamsel {
namespace {

TEST(ListRows, TextsAreOneBasedWithTheFixedSeparators) {
  EXPECT_EQ(FaceRow(2, 11), "M:3 F:12");
  EXPECT_EQ(HardpointRow(0, 0), "M:1 HP:1");
  EXPECT_EQ(EngineGlowRow(9, 99), "M:10 EG:100");
  EXPECT_EQ(CornerRow(0, 4, 2, 0.5f), "(M:1 F:5 V:3)  0.5");
  EXPECT_EQ(CornerRow(1, 0, 3, -1e-5f), "(M:2 F:1 V:4)  -1E-05");
  EXPECT_EQ(TextureRow(0), "TEX00000");
  EXPECT_EQ(TextureRow(42), "TEX00042");
  EXPECT_EQ(TextureRow(123456), "TEX123456");
}

TEST(ListRows, ParsingGivesZeroBasedIndicesBack) {
  EXPECT_EQ(ParseFaceRow(FaceRow(2, 11)), (FaceRef{2, 11}));
  EXPECT_EQ(ParseHardpointRow("M:4 HP:7"), (ItemRef{3, 6}));
  EXPECT_EQ(ParseEngineGlowRow("M:1 EG:2"), (ItemRef{0, 1}));
  EXPECT_EQ(ParseCornerRow(CornerRow(20000, 70000, 3, 2.25f)), (CornerRef{20000, 70000, 3}));
  EXPECT_EQ(ParseCornerRow("(M:1 F:2 V:1)  not a number"), (CornerRef{0, 1, 0}));
}

TEST(ListRows, MalformedRowsParseToNothing) {
  for (const char* row : {"", "M:", "M:0 F:1", "M:3F:12", "M:3 F:12x", "M:-1 F:2",
                          "M:3 F:", "M:99999999999 F:1", "m:3 f:4", " M:3 F:4", "M:3 HP:1"})
    EXPECT_FALSE(ParseFaceRow(row).has_value()) << row;
  EXPECT_FALSE(ParseHardpointRow("M:3 EG:1").has_value());
  EXPECT_FALSE(ParseEngineGlowRow("M:3 EG:0").has_value());
  for (const char* row : {"(M:1 F:2 V:5)  1", "(M:1 F:2 V:0)  1", "(M:1 F:2 V:1  1",
                          "M:1 F:2 V:1)  1", "(M:1 F:2)  1", "(M:a F:2 V:1)  1"})
    EXPECT_FALSE(ParseCornerRow(row).has_value()) << row;
}

}  // namespace
}  // namespace tamsel
