#include "viewport/cxxx.h"

#include <GL/gl.h>

namespace tamsel {

CXXX::CXXX(Model& model, ViewState& view, ColorSettings& colors, GlxCtl& control)
    : model_(model), view_(view), colors_(colors), ctl_(control) {}

void CXXX::InitGL() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthRange(1.0, -1.0);  // GL clamps this to (1, 0): nearer to the viewer is larger z
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
  glClearColor(0, 0, 0, 0);

  model_.ViewExtent = 10.0;

  Light& light = ctl_.Lights(1);
  light.SetAmbient(0.1f, 0.1f, 0.1f, 1);
  light.SetDiffuse(1, 1, 1, 1);
  light.SetPosition(0, 30, 30);
  light.Enabled = true;

  Camera& camera = ctl_.Camera();
  camera.NearPlane = -6000;
  camera.FarPlane = 6000;
  camera.SetTarget(0, 0, 0);
  camera.ProjectionMode = 1;
  camera.SetOrtho(-10, 10, -10, 10);
  camera.ResetRotation();
  camera.RotateX(180);
  camera.RotateZ(180);
  camera.SetViewportOrigin(ctl_.x(), ctl_.y(), true);

  options_ = GlxStartupOptions{{false, true, true}, {1, 1}};
  ctl_.Screen().Option = false;
  listCompiled_ = false;
  CreateCall();
}

void CXXX::Draw() {
  ctl_.Screen().Clear();
  if (listCompiled_) glCallList(kSceneList);
}

void CXXX::DrawForPick() {
  if (listCompiled_) glCallList(kSceneList);
}

void CXXX::ApplyViewExtent() {
  Camera& camera = ctl_.Camera();
  const double e = model_.ViewExtent;
  camera.NearPlane = -e;
  camera.FarPlane = e;
  camera.SetOrtho(-e, e, -e, e);
}

void CXXX::KeyDown(int /*keyCode*/, int shift) {
  if (shift == 1) shiftHeld_ = true;
}

void CXXX::KeyUp(int /*keyCode*/, int shift) {
  if (shift == 0) shiftHeld_ = false;
}

void CXXX::MouseDown(int, int, float, float) {}
void CXXX::MouseMove(int, int, float, float) {}

void CXXX::Pick(const std::vector<std::int32_t>& items) {
  lastPick_ = items;
}

void CXXX::CreateCall() {
  GlxCtl::ContextScope scope(ctl_);
  if (!scope.ok()) return;
  glNewList(kSceneList, GL_COMPILE);
  glEndList();
  listCompiled_ = true;
  ctl_.Redraw();
}

}  // namespace tamsel
