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
}

}  // namespace
}  // namespace tamsel
