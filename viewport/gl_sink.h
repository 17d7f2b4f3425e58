// Draws the scene with GL calls (into the display list being compiled).
#pragma once

#include "viewport/draw_sink.h"
#include "viewport/glx_tools.h"
#include "viewport/texture_objects.h"

namespace tamsel {

class GlSink : public DrawSink {
 public:
  GlSink(const TextureObjects& textures, const ShapeTool& shapes)
      : textures_(textures), shapes_(shapes) {}
  void LoadName(std::uint32_t name) override;
  void Color(int r, int g, int b) override;
  void ColorF(float r, float g, float b, float a) override;
  void LineWidth(float width) override;
  void PointSize(float size) override;
  void Begin(Primitive primitive) override;
  void TexCoord(float u, float v) override;
  void Vertex(float x, float y, float z) override;
  void End() override;
  void BindTexture(int t, bool illum) override;
  void Texturing(bool on) override;
  void Blending(bool on) override;
  void DepthLessEqual(bool on) override;
  void Push() override;
  void Pop() override;
  void Translate(float x, float y, float z) override;
  void Rotate(float degrees, float x, float y, float z) override;
  void Scale(float x, float y, float z) override;
  void Cylinder(double base, double top, double height, bool closed, int slices,
                int stacks) override;

 private:
  const TextureObjects& textures_;
  const ShapeTool& shapes_;
  unsigned bound_ = ~0u;
  // A line loop is drawn as a line strip back to its first corner: Mesa's display lists
  // crash in selection mode on three or more line loops in a row.
  bool loop_ = false;
  int loopCorners_ = 0;
  float firstU_ = 0, firstV_ = 0, firstX_ = 0, firstY_ = 0, firstZ_ = 0, u_ = 0, v_ = 0;
};

}  // namespace tamsel
