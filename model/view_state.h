// View state shared by the tool bars and the viewport. The words are the ones the
// tool bars set and the display list tests.
#pragma once

#include <cstdint>
#include <string>

namespace tamsel {

struct ViewState {
  std::string DisplayMode = "wire";              // "wire", "texture"
  std::string GeometryLevel = "mesh";            // "mesh", "face", "vertex"
  std::string CurrentLOD = "high";               // "high", "low"
  std::string NormalsShown = "show";             // "show", "hide"
  std::string PropertyPanel = "geometry";        // "geometry", "texture", "hitzone", "rotation",
                                                 // "hardpoint", "engine glow"
  std::string GeometrySubPanel = "face";         // "face" at start, then "geometry" or "texture"
  std::string TextureSubPanel = "transparency";  // "transparency", "illumination"
  std::int16_t FlightGroupColor = 0;             // 0 red, 1 yellow, 2 blue, 3 green
  std::int16_t AxisAnimAngle = 0;                // 0..355
  std::int16_t AimAnimStep = 0;                  // 0..20
  std::int16_t DegreeAnimStep = 0;               // 0..20

  // Level index of CurrentLOD: 0 for "high", 1 for "low".
  int LevelIndex() const { return CurrentLOD == "low" ? 1 : 0; }
};

}  // namespace tamsel
