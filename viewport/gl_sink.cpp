#include "viewport/gl_sink.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <QOpenGLContext>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "viewport/vertex_index.h"

namespace tamsel {

struct GlSink::Recording {
  std::vector<GlListStore::Piece>& pieces;
  std::vector<float>& run;  // the vertices of the run being gathered
  unsigned mode = GL_POINTS;
  bool textured = false;
  bool listOpen = false;

  static GLuint Upload(GLenum target, const void* data, std::size_t bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return buffer;
  }
  void EndRun() {
    if (run.empty()) return;
    const int stride = textured ? 5 : 3;
    const auto count = static_cast<int>(run.size() / static_cast<std::size_t>(stride));
    GlListStore::Piece piece{GlListStore::Piece::Buffer, 0, mode, count, textured};
    // Neighbouring faces' corners are the same vertices: drawn by index they are kept once.
    const IndexedVertices indexed = IndexVertices(run, stride);
    const std::size_t distinct = indexed.vertices.size() / static_cast<std::size_t>(stride);
    const bool shortIndices = distinct <= 0x10000;
    const std::size_t indexBytes = indexed.indices.size() * (shortIndices ? 2 : 4);
    if ((indexed.vertices.size() * sizeof(float) + indexBytes) < run.size() * sizeof(float)) {
      piece.id =
          Upload(GL_ARRAY_BUFFER, indexed.vertices.data(), indexed.vertices.size() * sizeof(float));
      if (shortIndices) {
        const std::vector<std::uint16_t> narrow(indexed.indices.begin(), indexed.indices.end());
        piece.indices = Upload(GL_ELEMENT_ARRAY_BUFFER, narrow.data(), indexBytes);
        piece.indexType = GL_UNSIGNED_SHORT;
      } else {
        piece.indices = Upload(GL_ELEMENT_ARRAY_BUFFER, indexed.indices.data(), indexBytes);
        piece.indexType = GL_UNSIGNED_INT;
      }
    } else {
      piece.id = Upload(GL_ARRAY_BUFFER, run.data(), run.size() * sizeof(float));
    }
    pieces.push_back(piece);
    run.clear();
  }
  void CloseList() {
    if (!listOpen) return;
    glEndList();
    listOpen = false;
  }
  void OpenList() {
    if (listOpen) return;
    const GLuint id = glGenLists(1);
    glNewList(id, GL_COMPILE);
    pieces.push_back({GlListStore::Piece::List, id, 0, 0, false});
    listOpen = true;
  }
};

GlSink::~GlSink() = default;

void GlSink::State() {
  if (!recording_) return;
  recording_->EndRun();
  recording_->OpenList();
}

void GlSink::Finish() {
  if (!recording_) return;
  recording_->EndRun();
  recording_->CloseList();
}

GlListStore::~GlListStore() {
  if (!QOpenGLContext::currentContext()) return;
  while (!parts_.empty()) Delete(parts_.begin()->first);
}

unsigned GlListStore::Compile(const std::function<void(DrawSink&)>& draw) {
  const unsigned id = next_++;
  std::vector<Piece> pieces;
  std::vector<float> run = std::move(scratch_);  // a part compiled inside another gets its own
  GlSink::Recording recording{pieces, run};
  GlSink sink(textures_, shapes_, recording);
  draw(sink);
  sink.Finish();
  // One huge mesh's run would otherwise stay held for good.
  if (run.capacity() > (std::size_t{1} << 20)) run = {};
  scratch_ = std::move(run);
  parts_.emplace(id, std::move(pieces));
  return id;
}

void GlListStore::Delete(unsigned id) {
  const auto it = parts_.find(id);
  if (it == parts_.end()) return;
  // Without a context the lists and buffers went with it.
  if (QOpenGLContext::currentContext())
    for (const Piece& piece : it->second) {
      if (piece.kind == Piece::List) glDeleteLists(piece.id, 1);
      if (piece.kind == Piece::Buffer) glDeleteBuffers(1, &piece.id);
      if (piece.indices) glDeleteBuffers(1, &piece.indices);
    }
  parts_.erase(it);
}

void GlListStore::Call(unsigned id, DrawSink& into) {
  // Parts are only ever drawn through GlSinks.
  auto& sink = static_cast<GlSink&>(into);
  if (!sink.recording_) {
    Draw(id);
    return;
  }
  sink.recording_->EndRun();
  sink.recording_->CloseList();
  sink.recording_->pieces.push_back({Piece::Part, id, 0, 0, false});
}

void GlListStore::Draw(unsigned id) const {
  const auto it = parts_.find(id);
  if (it == parts_.end()) return;
  for (const Piece& piece : it->second) {
    if (piece.kind == Piece::List) glCallList(piece.id);
    if (piece.kind == Piece::Part) Draw(piece.id);
    if (piece.kind != Piece::Buffer) continue;
    glBindBuffer(GL_ARRAY_BUFFER, piece.id);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (piece.textured) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), nullptr);
      glVertexPointer(3, GL_FLOAT, 5 * sizeof(float),
                      reinterpret_cast<const void*>(2 * sizeof(float)));
    } else {
      glVertexPointer(3, GL_FLOAT, 3 * sizeof(float), nullptr);
    }
    if (piece.indices) {
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, piece.indices);
      glDrawElements(piece.mode, piece.count, piece.indexType, nullptr);
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    } else {
      glDrawArrays(piece.mode, 0, piece.count);
    }
    if (piece.textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
  }
}

void GlSink::LoadName(std::uint32_t name) {
  State();
  glLoadName(name);
}
void GlSink::Color(int r, int g, int b) {
  State();
  glColor4ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b), 255);
}
void GlSink::ColorF(float r, float g, float b, float a) {
  State();
  glColor4f(r, g, b, a);
}
void GlSink::LineWidth(float width) {
  State();
  glLineWidth(width);
}
void GlSink::PointSize(float size) {
  State();
  glPointSize(size);
}

namespace {

bool Direct(Primitive p) {
  return p == Primitive::Points || p == Primitive::Lines || p == Primitive::Triangles;
}

}  // namespace

void GlSink::Begin(Primitive primitive) {
  primitive_ = primitive;
  count_ = 0;
  const GLenum mode = primitive == Primitive::Points ? GL_POINTS
                      : primitive == Primitive::Lines || primitive == Primitive::LineLoop
                          ? GL_LINES
                          : GL_TRIANGLES;
  if (!recording_) {
    if (Direct(primitive)) glBegin(mode);
    return;
  }
  // Runs of one kind join into one buffer until a state call comes between them.
  Recording& r = *recording_;
  const bool textured = mode == GL_TRIANGLES;
  if (r.mode != mode || r.textured != textured) r.EndRun();
  r.CloseList();
  r.mode = mode;
  r.textured = textured;
}

void GlSink::TexCoord(float u, float v) {
  u_ = u, v_ = v;
}

void GlSink::Emit(const Corner& c) {
  // Lines and points are drawn untextured: a texture coordinate each would only add to
  // their memory.
  const bool textured = primitive_ == Primitive::Triangles || primitive_ == Primitive::Polygon;
  if (recording_) {
    std::vector<float>& run = recording_->run;
    if (textured) run.insert(run.end(), {c.u, c.v});
    run.insert(run.end(), {c.x, c.y, c.z});
    // A run ends at a bound, so that indexing a single huge mesh's run never holds more
    // than a few tens of MB aside; six vertices end whole points, lines and triangles.
    constexpr std::size_t kMostVertices = std::size_t{6} << 16;
    if (run.size() >= kMostVertices * (textured ? 5 : 3)) recording_->EndRun();
    return;
  }
  if (textured) glTexCoord2f(c.u, c.v);
  glVertex3f(c.x, c.y, c.z);
}

void GlSink::Vertex(float x, float y, float z) {
  const Corner c{u_, v_, x, y, z};
  if (Direct(primitive_))
    Emit(c);
  else if (count_ < 8)
    corners_[count_++] = c;
}

void GlSink::End() {
  if (Direct(primitive_)) {
    if (!recording_) glEnd();
    return;
  }
  const bool loop = primitive_ == Primitive::LineLoop;
  if (count_ >= (loop ? 2 : 3)) {
    if (!recording_) glBegin(loop ? GL_LINES : GL_TRIANGLES);
    if (loop) {
      for (int k = 0; k < count_; ++k) {
        Emit(corners_[k]);
        Emit(corners_[(k + 1) % count_]);
      }
    } else {
      for (int k = 1; k + 1 < count_; ++k) {  // a fan: faces are convex, of four corners at most
        Emit(corners_[0]);
        Emit(corners_[k]);
        Emit(corners_[k + 1]);
      }
    }
    if (!recording_) glEnd();
  }
  count_ = 0;
}

void GlSink::BindTexture(int t, bool illum) {
  // A texture first asked for is made now, which must not happen inside a list being
  // compiled: its image would go into the list instead of to GL.
  if (recording_ && textures_.Pending(t)) {
    recording_->EndRun();
    recording_->CloseList();
  }
  // Consecutive faces mostly share a texture; binding again would only bloat the list.
  const unsigned id = textures_.Id(t, illum);
  if (id == bound_) return;
  bound_ = id;
  State();
  glBindTexture(GL_TEXTURE_2D, id);
}

void GlSink::Texturing(bool on) {
  State();
  on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
  bound_ = ~0u;
}
void GlSink::Blending(bool on) {
  State();
  on ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
}
void GlSink::DepthLessEqual(bool on) {
  State();
  glDepthFunc(on ? GL_LEQUAL : GL_LESS);
}
void GlSink::CullFrontFaces(bool on) {
  State();
  glCullFace(on ? GL_FRONT : GL_BACK);
}
void GlSink::DepthOnly(bool on) {
  State();
  const GLboolean colour = on ? GL_FALSE : GL_TRUE;
  glColorMask(colour, colour, colour, colour);
  if (on) {
    glPolygonOffset(1, 1);
    glEnable(GL_POLYGON_OFFSET_FILL);
  } else {
    glDisable(GL_POLYGON_OFFSET_FILL);
  }
}
void GlSink::Stipple(bool on) {
  State();
  if (!on) {
    glDisable(GL_POLYGON_STIPPLE);
    return;
  }
  // Every other pixel of every other row: a quarter of the face.
  GLubyte pattern[128];
  for (int row = 0; row < 32; ++row)
    for (int b = 0; b < 4; ++b) pattern[row * 4 + b] = row % 2 ? 0x00 : 0x55;
  glPolygonStipple(pattern);
  glEnable(GL_POLYGON_STIPPLE);
}
void GlSink::Push() {
  State();
  glPushMatrix();
}
void GlSink::Pop() {
  State();
  glPopMatrix();
}
void GlSink::Translate(float x, float y, float z) {
  State();
  glTranslatef(x, y, z);
}
void GlSink::Rotate(float degrees, float x, float y, float z) {
  State();
  glRotatef(degrees, x, y, z);
}
void GlSink::Scale(float x, float y, float z) {
  State();
  glScalef(x, y, z);
}
void GlSink::Cylinder(double base, double top, double height, bool closed, int slices, int stacks) {
  State();
  shapes_.Cylinder(base, top, height, closed, slices, stacks);
}

}  // namespace tamsel
