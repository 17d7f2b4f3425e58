#include "opt/lod_distance.h"

#include <cmath>

namespace tamsel {
namespace {
constexpr double kScale = 2.8537e-5, kExponent = -1.0848093;
}

float SwitchFromDistance(float distance) {
  if (distance >= 1000) return 0.0f;
  if (distance <= 0) return 1.0f;
  return static_cast<float>(std::pow(static_cast<double>(distance) / kScale, 1.0 / kExponent));
}

float DistanceFromSwitch(float value) {
  if (value >= 1) return 0.0f;
  if (value <= 0) return 1000.0f;
  const float d = static_cast<float>(kScale * std::pow(static_cast<double>(value), kExponent));
  if (SwitchFromDistance(d) == value) return d;
  float up = d, down = d;
  for (int step = 0; step < 64; ++step) {
    up = std::nextafter(up, 1000.0f);
    if (SwitchFromDistance(up) == value) return up;
    down = std::nextafter(down, 0.0f);
    if (SwitchFromDistance(down) == value) return down;
  }
  return d;
}

}  // namespace tamsel
