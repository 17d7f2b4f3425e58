// What the scene is drawn into: the GL display list in the program, a recorder in tests.
// The calls are those of the fixed-function pipeline the scene needs.
#pragma once

#include <cstdint>

namespace tamsel {

// Triangles: independent triangles, three corners each, for runs of many faces at once.
enum class Primitive { Points, Lines, LineLoop, Polygon, Triangles };

class DrawSink {
 public:
  virtual ~DrawSink() = default;
  static constexpr std::uint32_t kNoName = 0xFFFFFFFFu;  // a pick name that selects nothing

  virtual void LoadName(std::uint32_t name) = 0;
  virtual void Color(int r, int g, int b) = 0;  // bytes, alpha 1
  virtual void ColorF(float r, float g, float b, float a) = 0;
  virtual void LineWidth(float width) = 0;
  virtual void PointSize(float size) = 0;
  virtual void Begin(Primitive primitive) = 0;
  virtual void TexCoord(float u, float v) = 0;
  virtual void Vertex(float x, float y, float z) = 0;
  virtual void End() = 0;
  // Binds texture record t's opaque (illum false) or blended (illum true) texture; -1
  // binds none, so the face shows untextured.
  virtual void BindTexture(int t, bool illum) = 0;
  virtual void Texturing(bool on) = 0;
  virtual void Blending(bool on) = 0;
  virtual void DepthLessEqual(bool on) = 0;
  // On: faces seen from behind are drawn and those seen from outside culled; off: the usual.
  virtual void CullFrontFaces(bool on) = 0;
  // On: faces write depth only, a little behind where they are, so that they hide what lies
  // behind them but not the edges drawn on them.
  virtual void DepthOnly(bool on) = 0;
  // On: faces fill one pixel in four, in a grid, so that what lies under them shows.
  virtual void Stipple(bool on) = 0;
  virtual void Push() = 0;
  virtual void Pop() = 0;
  virtual void Translate(float x, float y, float z) = 0;
  virtual void Rotate(float degrees, float x, float y, float z) = 0;
  virtual void Scale(float x, float y, float z) = 0;
  virtual void Cylinder(double base, double top, double height, bool closed, int slices,
                        int stacks) = 0;
};

}  // namespace tamsel
