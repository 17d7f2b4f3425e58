#include "app/form_layout.h"

#include <gtest/gtest.h>

namespace tamsel {
namespace {

TEST(FormLayout, DesignSizePlacesTheControlsAtTheirDesignPositions) {
  // 15240 x 10830 twips at 15 twips a pixel.
  const FormLayout f = ComputeFormLayout(1016, 722, 26, 40, 0);
  EXPECT_EQ(f.renderscreen, (LayoutRect{464, 26 + kGap, 550, 550}));
  EXPECT_EQ(f.viewopframe, (LayoutRect{464, 26 + kGap + 550, 393, 97}));
  EXPECT_EQ(f.propertyFrame, (LayoutRect{8, 26 + kGap, 449, 550 + 97}));
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
  EXPECT_EQ(half.propertyFrame.top, full.renderscreen.top);
}

TEST(FormLayout, ASecondToolBarRowMovesEverythingDownAndKeepsItInside) {
  const FormLayout one = ComputeFormLayout(960, 560, 26, 40, 0);
  const FormLayout two = ComputeFormLayout(960, 560, 26, 40, 26);
  EXPECT_EQ(two.renderscreen.top, one.renderscreen.top + 26);
  EXPECT_EQ(two.propertyFrame.top, one.propertyFrame.top + 26);
  EXPECT_LE(two.viewopframe.top + two.viewopframe.height, 560);
  EXPECT_LE(two.propertyFrame.top + two.propertyFrame.height, 560);
}

TEST(ToolBarPlaces, BarsWrapOnlyWhenTheyWouldCoverEachOther) {
  // Property bar 416 px, view bar 200 px, display buttons in the right 480 px.
  const ToolBarPlaces wide = PlaceToolBars(1200, 26, 416, 200, 480);
  EXPECT_EQ(wide.viewbarLeft, 416 + kToolBarGap);
  EXPECT_EQ(wide.viewbarTop, 0);
  EXPECT_EQ(wide.dispbarTop, 0);
  const ToolBarPlaces edge = PlaceToolBars(416 + 200 + 2 * kToolBarGap + 480, 26, 416, 200, 480);
  EXPECT_EQ(edge.dispbarTop, 0);
  const ToolBarPlaces narrow =
      PlaceToolBars(edge.viewbarLeft + 200 + kToolBarGap + 479, 26, 416, 200, 480);
  EXPECT_EQ(narrow.viewbarTop, 0);
  EXPECT_EQ(narrow.dispbarTop, 26);
  const ToolBarPlaces tiny = PlaceToolBars(500, 26, 416, 200, 480);
  EXPECT_EQ(tiny.viewbarLeft, 0);
  EXPECT_EQ(tiny.viewbarTop, 26);
  EXPECT_EQ(tiny.dispbarTop, 52);
}

TEST(FormLayout, NarrowWindowGivesNoNegativeSizes) {
  const FormLayout f = ComputeFormLayout(0, 0, 26, 40, 0);
  EXPECT_EQ(f.renderscreen.width, 0);
  EXPECT_EQ(f.propertyFrame.height, 0);
  EXPECT_LT(f.spacerWidth, 0);  // the tool bar clamps it
}

}  // namespace
}  // namespace tamsel
