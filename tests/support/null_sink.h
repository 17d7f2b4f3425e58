// A draw sink that ignores every call: tests derive from it and keep the calls they check.
#pragma once

#include "viewport/draw_sink.h"

namespace tamsel::test {

struct NullSink : DrawSink {
  void LoadName(std::uint32_t) override {}
  void Color(int, int, int) override {}
  void ColorF(float, float, float, float) override {}
  void LineWidth(float) override {}
  void PointSize(float) override {}
  void Begin(Primitive) override {}
  void TexCoord(float, float) override {}
  void Vertex(float, float, float) override {}
  void End() override {}
  void BindTexture(int, bool) override {}
  void Texturing(bool) override {}
  void Blending(bool) override {}
  void DepthLessEqual(bool) override {}
  void CullFrontFaces(bool) override {}
  void DepthOnly(bool) override {}
  void Stipple(bool) override {}
  void Push() override {}
  void Pop() override {}
  void Translate(float, float, float) override {}
  void Rotate(float, float, float, float) override {}
  void Scale(float, float, float) override {}
  void Cylinder(double, double, double, bool, int, int) override {}
};

}  // namespace tamsel::test
