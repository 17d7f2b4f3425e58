// Small GL tools of the viewport and the headless renders: the light, the quadric shapes and
// clearing the frame. Every call needs a current context.
#pragma once

namespace tamsel {

struct Light {
  void SetAmbient(float r, float g, float b, float a);
  void SetDiffuse(float r, float g, float b, float a);
  void SetPosition(float x, float y, float z);
  bool Enabled = false;
  float ambient[4] = {0, 0, 0, 1}, diffuse[4] = {1, 1, 1, 1}, position[4] = {0, 0, 1, 0};
  void Apply() const;  // loads the stored values into GL light 0
};

struct ShapeTool {
  // A quadric cone or cylinder along +z from z = 0 to height; closed caps it at both ends.
  void Cylinder(double baseRadius, double topRadius, double height, bool closed, int slices,
                int stacks) const;
};

// Clears the colour and depth buffers.
void ClearScreen();

}  // namespace tamsel
