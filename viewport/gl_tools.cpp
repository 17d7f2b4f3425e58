#include "viewport/gl_tools.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace tamsel {

void Light::SetAmbient(float r, float g, float b, float a) {
  ambient[0] = r, ambient[1] = g, ambient[2] = b, ambient[3] = a;
}
void Light::SetDiffuse(float r, float g, float b, float a) {
  diffuse[0] = r, diffuse[1] = g, diffuse[2] = b, diffuse[3] = a;
}
void Light::SetPosition(float x, float y, float z) {
  position[0] = x, position[1] = y, position[2] = z, position[3] = 1;
}
void Light::Apply() const {
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  if (Enabled)
    glEnable(GL_LIGHT0);
  else
    glDisable(GL_LIGHT0);
}

void ShapeTool::Cylinder(double baseRadius, double topRadius, double height, bool closed,
                         int slices, int stacks) const {
  GLUquadric* q = gluNewQuadric();
  if (!q) return;
  gluCylinder(q, baseRadius, topRadius, height, slices, stacks);
  if (closed) {
    glPushMatrix();
    glRotated(180, 1, 0, 0);  // the base disk faces -z, outwards
    gluDisk(q, 0, baseRadius, slices, 1);
    glPopMatrix();
    if (topRadius > 0) {
      glPushMatrix();
      glTranslated(0, 0, height);
      gluDisk(q, 0, topRadius, slices, 1);
      glPopMatrix();
    }
  }
  gluDeleteQuadric(q);
}

void ClearScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace tamsel
