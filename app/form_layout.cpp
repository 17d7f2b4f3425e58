#include "app/form_layout.h"

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
  f.renderscreen = {Part(W, kDesignWidth, 6960), dispbarTop + B + kGap, Part(W, kDesignWidth, 8250),
                    Part(H, kDesignHeight, 8250)};
  f.spacerWidth = W - 12 * w;
  f.viewopframe = {f.renderscreen.left, f.renderscreen.top + f.renderscreen.height,
                   Part(W, kDesignWidth, 5895), Part(H, kDesignHeight, 1455)};
  f.propertyFrame = {Part(W, kDesignWidth, 120), B + kGap, Part(W, kDesignWidth, 6735),
                     Part(H, kDesignHeight, 9015)};
  return f;
}

}  // namespace tamsel
