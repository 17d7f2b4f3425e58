#include "viewport/gl_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace tamsel {

void SetupSceneState() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthRange(0.0, 1.0);  // nearer to the viewer is smaller depth, so GL_LESS keeps it
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glShadeModel(GL_FLAT);
  glRenderMode(GL_RENDER);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPointSize(4);
  glLineWidth(1);
  glClearColor(0, 0, 0, 1);  // opaque: a grab of the window shows black, as the screen does
}

Light SceneLight() {
  Light light;
  light.SetAmbient(0.1f, 0.1f, 0.1f, 1);
  light.SetDiffuse(1, 1, 1, 1);
  light.SetPosition(0, 30, 30);
  light.Enabled = true;
  return light;
}

void LoadCameraMatrices(const Camera& camera, int width, int height, const PickRegion* pick) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (pick) {
    GLint viewport[4] = {0, 0, width, height};
    gluPickMatrix(pick->x, height - pick->y, pick->size, pick->size, viewport);
  }
  const Matrix4 projection = camera.Projection(width, height);
  glMultMatrixd(projection.data());
  glMatrixMode(GL_MODELVIEW);
  const Matrix4 modelView = camera.ModelView();
  glLoadMatrixd(modelView.data());
}

}  // namespace tamsel
