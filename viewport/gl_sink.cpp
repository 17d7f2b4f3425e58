#include "viewport/gl_sink.h"

#include <GL/gl.h>

#include <QOpenGLContext>

#include <algorithm>
#include <cmath>

namespace tamsel {

unsigned GlListStore::Compile(const std::function<void(DrawSink&)>& draw) {
  const GLuint id = glGenLists(1);
  glNewList(id, GL_COMPILE);
  GlSink sink(textures_, shapes_);
  draw(sink);
  glEndList();
  return id;
}

void GlListStore::Delete(unsigned id) {
  // Without a context the lists went with it.
  if (QOpenGLContext::currentContext()) glDeleteLists(id, 1);
}

void GlListStore::Call(unsigned id, DrawSink& /*into*/) {
  glCallList(id);
}

void GlSink::LoadName(std::uint32_t name) {
  glLoadName(name);
}
void GlSink::Color(int r, int g, int b) {
  glColor4ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b), 255);
}
void GlSink::ColorF(float r, float g, float b, float a) {
  glColor4f(r, g, b, a);
}
void GlSink::LineWidth(float width) {
  glLineWidth(width);
}
void GlSink::PointSize(float size) {
  glPointSize(size);
}

void GlSink::Begin(Primitive primitive) {
  primitive_ = primitive;
  count_ = 0;
  if (primitive == Primitive::Points) glBegin(GL_POINTS);
  if (primitive == Primitive::Lines) glBegin(GL_LINES);
  if (primitive == Primitive::Triangles) glBegin(GL_TRIANGLES);
}

void GlSink::TexCoord(float u, float v) {
  u_ = u, v_ = v;
}

void GlSink::Emit(const Corner& c) const {
  glTexCoord2f(c.u, c.v);
  glVertex3f(c.x, c.y, c.z);
}

void GlSink::Vertex(float x, float y, float z) {
  const Corner c{u_, v_, x, y, z};
  if (primitive_ == Primitive::Points || primitive_ == Primitive::Lines ||
      primitive_ == Primitive::Triangles) {
    Emit(c);
  } else if (count_ < 8) {
    corners_[count_++] = c;
  }
}

void GlSink::End() {
  if (primitive_ == Primitive::Points || primitive_ == Primitive::Lines ||
      primitive_ == Primitive::Triangles) {
    glEnd();
    return;
  }
  if (primitive_ == Primitive::LineLoop && count_ >= 2) {
    glBegin(GL_LINES);
    for (int k = 0; k < count_; ++k) {
      Emit(corners_[k]);
      Emit(corners_[(k + 1) % count_]);
    }
    glEnd();
  } else if (primitive_ == Primitive::Polygon && count_ >= 3) {
    glBegin(GL_TRIANGLES);  // a fan: faces are convex and have at most four corners
    for (int k = 1; k + 1 < count_; ++k) {
      Emit(corners_[0]);
      Emit(corners_[k]);
      Emit(corners_[k + 1]);
    }
    glEnd();
  }
  count_ = 0;
}

void GlSink::BindTexture(int t, bool illum) {
  // Consecutive faces mostly share a texture; binding again would only bloat the list.
  const unsigned id = textures_.Id(t, illum);
  if (id == bound_) return;
  bound_ = id;
  glBindTexture(GL_TEXTURE_2D, id);
}

void GlSink::Texturing(bool on) {
  on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
  bound_ = ~0u;
}
void GlSink::Blending(bool on) {
  on ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
}
void GlSink::DepthLessEqual(bool on) {
  glDepthFunc(on ? GL_LEQUAL : GL_LESS);
}
void GlSink::Push() {
  glPushMatrix();
}
void GlSink::Pop() {
  glPopMatrix();
}
void GlSink::Translate(float x, float y, float z) {
  glTranslatef(x, y, z);
}
void GlSink::Rotate(float degrees, float x, float y, float z) {
  glRotatef(degrees, x, y, z);
}
void GlSink::Scale(float x, float y, float z) {
  glScalef(x, y, z);
}
void GlSink::Cylinder(double base, double top, double height, bool closed, int slices, int stacks) {
  shapes_.Cylinder(base, top, height, closed, slices, stacks);
}

}  // namespace tamsel
