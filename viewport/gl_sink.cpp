#include "viewport/gl_sink.h"

#include <GL/gl.h>

namespace tamsel {

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
  static constexpr GLenum modes[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_POLYGON};
  loop_ = primitive == Primitive::LineLoop;
  loopCorners_ = 0;
  glBegin(modes[static_cast<int>(primitive)]);
}

void GlSink::TexCoord(float u, float v) {
  u_ = u, v_ = v;
  glTexCoord2f(u, v);
}

void GlSink::Vertex(float x, float y, float z) {
  if (loop_ && loopCorners_++ == 0)
    firstU_ = u_, firstV_ = v_, firstX_ = x, firstY_ = y, firstZ_ = z;
  glVertex3f(x, y, z);
}

void GlSink::End() {
  if (loop_ && loopCorners_ > 0) {
    glTexCoord2f(firstU_, firstV_);
    glVertex3f(firstX_, firstY_, firstZ_);
  }
  loop_ = false;
  glEnd();
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
