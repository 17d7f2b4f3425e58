#include "app/form_layout.h"

#include <algorithm>
#include <cmath>

namespace tamsel {
namespace {

// Each ratio is computed in double precision and kept as a Single, then placed on a pixel.
int Part(int size, double design, double d) {
  const float value = static_cast<float>(size / (design / d));
  return static_cast<int>(std::lround(value));
}

}  // namespace

FormLayout ComputeFormLayout(int W, int H, int B, int w, int dispbarTop) {
  FormLayout f;
  // Extra tool bar rows come out of the heights, so the frames stay inside the window.
  const int top = dispbarTop + B + kGap;
  H = std::max(0, H - dispbarTop);
  f.renderscreen = {Part(W, kDesignWidth, 6960), top, Part(W, kDesignWidth, 8250),
                    Part(H, kDesignHeight, 8250)};
  f.spacerWidth = W - 12 * w;
  f.viewopframe = {f.renderscreen.left, f.renderscreen.top + f.renderscreen.height,
                   Part(W, kDesignWidth, 5895), Part(H, kDesignHeight, 1455)};
  // The property frames end where the view-option frame ends: panels get the height.
  f.propertyFrame = {Part(W, kDesignWidth, 120), top, Part(W, kDesignWidth, 6735),
                     f.viewopframe.top + f.viewopframe.height - top};
  return f;
}

ToolBarPlaces PlaceToolBars(int W, int B, int propbarWidth, int viewbarWidth, int dispbarRight) {
  ToolBarPlaces p;
  p.viewbarLeft = propbarWidth + kToolBarGap;
  if (p.viewbarLeft + viewbarWidth > W) {
    p.viewbarLeft = 0;
    p.viewbarTop = B;
  }
  const int usedRight = p.viewbarLeft + viewbarWidth + kToolBarGap;
  p.dispbarTop = W - dispbarRight >= usedRight ? p.viewbarTop : p.viewbarTop + B;
  return p;
}

}  // namespace tamsel
