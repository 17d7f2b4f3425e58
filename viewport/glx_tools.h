// The light, colour, shape and screen tools of the host control. All GL calls here need the
// control's context to be current; the control makes sure of that at every entry point.
#pragma once

#include <cstdint>

namespace tamsel {

struct Light {
  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetPosition(float x, float y, float z);
  bool Enabled = false;
  float ambient[4] = {0, 0, 0, 1}, diffuse[4] = {1, 1, 1, 1}, position[4] = {0, 0, 1, 0};
  void Apply() const;  // loads the stored values into GL light 0
};

struct ColorTool {
  // Colour values are 0x00BBGGRR, as colour dialogs and picture pixels deliver them.
  static std::uint8_t RedOf(std::uint32_t color) { return color & 0xFF; }
  static std::uint8_t GreenOf(std::uint32_t color) { return (color >> 8) & 0xFF; }
  static std::uint8_t BlueOf(std::uint32_t color) { return (color >> 16) & 0xFF; }
  static std::uint32_t ColorOf(int r, int g, int b) {
    return static_cast<std::uint32_t>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
  }
  void SetColor(int r, int g, int b) const;  // current GL colour, alpha 1
};

struct ShapeTool {
  // A quadric cone or cylinder along +z from z = 0 to height; closed caps it at both ends.
  void Cylinder(double baseRadius, double topRadius, double height, bool closed, int slices,
                int stacks) const;
};

struct Screen {
  void Clear() const;
  bool Option = false;
};

}  // namespace tamsel
