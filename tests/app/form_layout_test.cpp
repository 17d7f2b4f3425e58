#include "app/form_layout.h"

#include <gtest/gtest.h>

namespace tamsel {
namespace {

TEST(FormLayout, DesignSizePlacesTheControlsAtTheirDesignPositions) {
  // 15240 x 10830 twips at 15 twips a pixel.
  const FormLayout f = ComputeFormLayout(1016, 722, 26, 40, 0);
  EXPECT_EQ(f.renderscreen, (LayoutRect{464, 26 + kGap, 550, 550}));
  EXPECT_EQ(f.viewopframe, (LayoutRect{464, 26 + kGap + 550, 393, 97}));
  EXPECT_EQ(f.propertyFrame, (LayoutRect{8, 26 + kGap, 449, 601}));
  EXPECT_EQ(f.spacerWidth, 1016 - 12 * 40);
}

TEST(FormLayout, HalfWidthHalvesLeftAndWidthButNotTopOrHeight) {
  const FormLayout full = ComputeFormLayout(2000, 900, 26, 40, 3);
  const FormLayout half = ComputeFormLayout(1000, 900, 26, 40, 3);
  EXPECT_NEAR(half.renderscreen.left, full.renderscreen.left / 2.0, 1);
  EXPECT_NEAR(half.renderscreen.width, full.renderscreen.width / 2.0, 1);
  EXPECT_EQ(half.renderscreen.top, full.renderscreen.top);
  EXPECT_EQ(half.renderscreen.height, full.renderscreen.height);
  EXPECT_EQ(full.renderscreen.top, 3 + 26 + kGap);  // below the display tool bar
  EXPECT_NEAR(half.propertyFrame.width, full.propertyFrame.width / 2.0, 1);
  EXPECT_EQ(half.propertyFrame.top, 26 + kGap);
}

TEST(FormLayout, NarrowWindowGivesNoNegativeSizes) {
  const FormLayout f = ComputeFormLayout(0, 0, 26, 40, 0);
  EXPECT_EQ(f.renderscreen.width, 0);
  EXPECT_EQ(f.propertyFrame.height, 0);
  EXPECT_LT(f.spacerWidth, 0);  // the tool bar clamps it
}

}  // namespace
}  // namespace tamsel
