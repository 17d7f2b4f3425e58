// Draws the scene with GL calls: into the window's frame, or into parts kept for many frames.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "viewport/draw_sink.h"
#include "viewport/gl_tools.h"
#include "viewport/scene_layers.h"
#include "viewport/texture_objects.h"

namespace tamsel {

class GlListStore;

// Draws at once (a frame), or records into a part of a GlListStore: there the vertices of
// each run of primitives go to a vertex buffer and the state between runs to display lists.
class GlSink : public DrawSink {
 public:
  GlSink(const TextureObjects& textures, const ShapeTool& shapes)
      : textures_(textures), shapes_(shapes) {}
  ~GlSink() override;
  GlSink(const GlSink&) = delete;
  GlSink& operator=(const GlSink&) = delete;
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
  void CullFrontFaces(bool on) override;
  void DepthOnly(bool on) override;
  void Stipple(bool on) override;
  void Push() override;
  void Pop() override;
  void Translate(float x, float y, float z) override;
  void Rotate(float degrees, float x, float y, float z) override;
  void Scale(float x, float y, float z) override;
  void Cylinder(double base, double top, double height, bool closed, int slices,
                int stacks) override;

 private:
  friend class GlListStore;
  struct Recording;
  GlSink(const TextureObjects& textures, const ShapeTool& shapes, Recording& recording)
      : textures_(textures), shapes_(shapes), recording_(&recording) {}
  // Before any state call: a recording ends its run of vertices and opens a list.
  void State();
  void Finish();  // a recording's last run and list are closed

  const TextureObjects& textures_;
  const ShapeTool& shapes_;
  Recording* recording_ = nullptr;
  unsigned bound_ = ~0u;
  // Faces are drawn as independent lines (wire) and triangles (filled), runs of which are
  // one draw each; loops and polygons become those too.
  struct Corner {
    float u, v, x, y, z;
  };
  void Emit(const Corner& c);
  Primitive primitive_ = Primitive::Points;
  Corner corners_[8] = {};
  int count_ = 0;
  float u_ = 0, v_ = 0;
};

// Parts drawn through a GlSink, in the current context: a part is its display lists (the
// state) and vertex buffers (the primitives) in order, and the calls of other parts. A
// buffer holds each distinct vertex once, drawn through indices where that is smaller.
class GlListStore : public ListStore {
 public:
  GlListStore(const TextureObjects& textures, const ShapeTool& shapes)
      : textures_(textures), shapes_(shapes) {}
  ~GlListStore() override;
  GlListStore(const GlListStore&) = delete;
  GlListStore& operator=(const GlListStore&) = delete;
  unsigned Compile(const std::function<void(DrawSink&)>& draw) override;
  void Delete(unsigned id) override;
  // Into a recording sink, a call of the part; into a drawing one, the part drawn.
  void Call(unsigned id, DrawSink& into) override;
  // The context went with every part's lists and buffers.
  void Forget() { parts_.clear(); }

  struct Piece {
    enum Kind { List, Buffer, Part } kind;
    unsigned id;    // the list, buffer or part
    unsigned mode;  // a buffer's GL primitive
    int count;      // the vertices a buffer draws
    bool textured;  // a buffer's vertices carry texture coordinates
    // A buffer's element buffer, 0 for none (the vertices drawn in order), and its type.
    unsigned indices = 0, indexType = 0;
  };

 private:
  void Draw(unsigned id) const;
  const TextureObjects& textures_;
  const ShapeTool& shapes_;
  std::unordered_map<unsigned, std::vector<Piece>> parts_;
  unsigned next_ = 1;
  std::vector<float> scratch_;  // a run's vertices before they go to their buffer
};

}  // namespace tamsel
