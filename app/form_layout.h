// Where the window puts its viewport, view-option frame and property frames: positions
// proportional to the client size against a design size of 15240 x 10830 twips.
#pragma once

namespace tamsel {

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct FormLayout {
  LayoutRect renderscreen;
  int spacerWidth = 0;  // the first dispbar button
  LayoutRect viewopframe;
  LayoutRect propertyFrame;  // each of the six property frames
};

inline constexpr double kDesignWidth = 15240, kDesignHeight = 10830;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kGap = 200 / kTwipsPerPixel;  // the 200-twip gap under the tool bars

// W, H: client size; B, w: dispbar button height and width; dispbarTop: its top, which is
// the lowest tool bar row. The frames and the viewport share what lies below it.
FormLayout ComputeFormLayout(int W, int H, int B, int w, int dispbarTop);

// Where the three tool bars go: the property and view bars flow from the left, the display
// bar keeps its buttons at the right; a bar that would cover another goes to the next row.
struct ToolBarPlaces {
  int viewbarLeft = 0, viewbarTop = 0, dispbarTop = 0;
};
inline constexpr int kToolBarGap = 8;
// dispbarRight: the width the display bar's buttons take at the right edge.
ToolBarPlaces PlaceToolBars(int W, int B, int propbarWidth, int viewbarWidth, int dispbarRight);

}  // namespace tamsel
