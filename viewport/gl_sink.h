// Draws the scene with GL calls (into the display list being compiled).
#pragma once

#include <cstdint>

#include "viewport/draw_sink.h"
#include "viewport/glx_tools.h"
#include "viewport/scene_layers.h"
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
  // State already set in this list: setting it again would only add list entries, which
  // also keep GL from joining neighbouring primitives into one draw.
  std::uint32_t color_ = 0;  // RGBA bytes; 0 is no colour set yet (alpha 0 never set)
  float lineWidth_ = 0, pointSize_ = 0;
  // Faces are drawn as independent lines (wire) and triangles (filled): GL joins runs of
  // those into one draw inside a display list, where loops and polygons stay one draw per
  // face (and Mesa crashes picking three or more line loops in a row).
  struct Corner {
    float u, v, x, y, z;
  };
  void Emit(const Corner& c) const;
  Primitive primitive_ = Primitive::Points;
  Corner corners_[8] = {};
  int count_ = 0;
  float u_ = 0, v_ = 0;
};

// Parts as display lists of the current context, drawn through a GlSink.
class GlListStore : public ListStore {
 public:
  GlListStore(const TextureObjects& textures, const ShapeTool& shapes)
      : textures_(textures), shapes_(shapes) {}
  unsigned Compile(const std::function<void(DrawSink&)>& draw) override;
  void Delete(unsigned id) override;
  void Call(unsigned id, DrawSink& into) override;

 private:
  const TextureObjects& textures_;
  const ShapeTool& shapes_;
};

}  // namespace tamsel
