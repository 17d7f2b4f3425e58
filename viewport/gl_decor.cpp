#include "viewport/gl_decor.h"

#include <GL/gl.h>

#include <algorithm>

#include "viewport/axes_gizmo.h"

namespace tamsel {
namespace {

// Screen-space drawing: identity matrices, no depth, no texture, no blending; the state
// and the matrices come back when it goes.
class ScreenSpace {
 public:
  ScreenSpace() {
    glGetIntegerv(GL_VIEWPORT, viewport_);
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_VIEWPORT_BIT | GL_LIGHTING_BIT);
    glShadeModel(GL_SMOOTH);  // the scene's flat shading would give the gradient one colour
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
  }
  ~ScreenSpace() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
  }
  ScreenSpace(const ScreenSpace&) = delete;
  ScreenSpace& operator=(const ScreenSpace&) = delete;
  int Width() const { return viewport_[2]; }
  int Height() const { return viewport_[3]; }
  int X() const { return viewport_[0]; }
  int Y() const { return viewport_[1]; }

 private:
  GLint viewport_[4] = {0, 0, 0, 0};
};

}  // namespace

void DrawBackgroundGradient() {
  const ScreenSpace screen;
  glBegin(GL_QUADS);
  glColor3ub(14, 15, 18);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glColor3ub(66, 74, 88);
  glVertex2f(1, 1);
  glVertex2f(-1, 1);
  glEnd();
}

void DrawAxesGizmo(const Matrix4& orientation) {
  const ScreenSpace screen;
  // A fifth of the shorter side, kept legible on a small view and modest on a large one.
  const int size = std::clamp(std::min(screen.Width(), screen.Height()) / 5, 48, 120);
  const int margin = size / 12;
  glViewport(screen.X() + margin, screen.Y() + margin, size, size);
  constexpr GLubyte kColours[3][3] = {{235, 80, 80}, {100, 210, 100}, {100, 150, 255}};
  for (const GizmoStroke& s : AxesGizmo(orientation)) {
    glLineWidth(s.letter ? 1.5f : 2.5f);
    glColor3ubv(kColours[s.axis]);
    glBegin(GL_LINES);
    glVertex2f(s.x0, s.y0);
    glVertex2f(s.x1, s.y1);
    glEnd();
  }
}

void DrawTransformGizmo(const GizmoPicture& picture, int width, int height) {
  const ScreenSpace screen;
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  const auto vertex = [&](const ScreenPoint& p) {
    glVertex2d(2 * p.x / std::max(width, 1) - 1, 1 - 2 * p.y / std::max(height, 1));
  };
  constexpr GLubyte kColours[4][3] = {
      {235, 80, 80}, {100, 210, 100}, {100, 150, 255}, {230, 230, 230}};
  constexpr GLubyte kActive[3] = {255, 220, 60};
  for (const GizmoShape& s : picture.shapes) {
    glColor3ubv(s.part == picture.active ? kActive : kColours[s.axis]);
    glLineWidth(s.part == picture.active ? 3.0f : 2.0f);
    if (s.filled) {
      glBegin(GL_POLYGON);
      for (const ScreenPoint& p : s.points) vertex(p);
      glEnd();
      continue;
    }
    glBegin(s.closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (const ScreenPoint& p : s.points) vertex(p);
    glEnd();
  }
}

}  // namespace tamsel
