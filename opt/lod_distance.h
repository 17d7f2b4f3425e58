// The level-of-detail switch value of an OPT file and the model's distance in km.
#pragma once

namespace tamsel {

// d >= 1000 -> 0; d <= 0 -> 1; otherwise (d / 2.8537e-5) ^ (1 / -1.0848093).
float SwitchFromDistance(float distance);

// v >= 1 -> 0; v <= 0 -> 1000; otherwise 2.8537e-5 * v ^ -1.0848093, nudged to the nearest
// Single that converts back to exactly v, so that reading and writing a file again keeps
// its switch values.
float DistanceFromSwitch(float value);

}  // namespace tamsel
