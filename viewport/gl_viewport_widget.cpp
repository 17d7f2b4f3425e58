#include "viewport/gl_viewport_widget.h"

#include <GL/gl.h>

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "viewport/gl_frame.h"

namespace tamsel {

GlViewportWidget::GlViewportWidget(QWidget* parent) : QOpenGLWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
}

GlViewportWidget::~GlViewportWidget() {
  // The context outlives this part of the object; it must not call back into it.
  if (context()) disconnect(context(), nullptr, this, nullptr);
  ForgetTextures();
}

void GlViewportWidget::SetDefaultFormat() {
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(24);
  format.setRenderableType(QSurfaceFormat::OpenGL);
  QSurfaceFormat::setDefaultFormat(format);
}

void GlViewportWidget::Start() {
  started_ = true;
}

void GlViewportWidget::SetActive(bool active) {
  active_ = active;
  update();
}

bool GlViewportWidget::HasContext() const {
  return context() && context()->isValid();
}

bool GlViewportWidget::Enter(bool& release) {
  release = false;
  if (!HasContext()) return false;
  if (QOpenGLContext::currentContext() != context()) {
    makeCurrent();
    release = true;
  }
  return true;
}

void GlViewportWidget::Leave() {
  doneCurrent();
}

void GlViewportWidget::initializeGL() {
  // A re-parented widget or a screen change can hand us a new context: everything that
  // lived in the old one is gone, so the receiver rebuilds it from InitGL on.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
          &GlViewportWidget::OnContextDestroyed, Qt::UniqueConnection);
  if (initialized_) OnContextDestroyed();
  initialized_ = true;
  if (input_) input_->InitGL();
}

void GlViewportWidget::OnContextDestroyed() {
  ForgetTextures();
  if (input_) input_->ContextLost();
}

void GlViewportWidget::ApplyCamera() {
  const qreal ratio = devicePixelRatioF();
  LoadCameraMatrices(camera_, static_cast<int>(width() * ratio),
                     static_cast<int>(height() * ratio));
}

void GlViewportWidget::paintGL() {
  if (!started_ || !active_ || !input_) {
    glClearColor(0, 0, 0, 1);  // opaque: a grab of the window shows black, as the screen does
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return;
  }
  ApplyCamera();
  light_.Apply();
  input_->Draw();
}

void GlViewportWidget::mousePressEvent(QMouseEvent* event) {
  pressPos_ = event->position().toPoint();
  pressButton_ = event->button();
  if (Raising()) input_->MousePress(event->button(), event->modifiers(), event->position());
}

void GlViewportWidget::mouseMoveEvent(QMouseEvent* event) {
  if (Raising()) input_->MouseMove(event->buttons(), event->modifiers(), event->position());
}

void GlViewportWidget::wheelEvent(QWheelEvent* event) {
  if (Raising())
    input_->Wheel(event->angleDelta().y() / 120.0, event->modifiers(), event->position());
  event->accept();
}

void GlViewportWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (Raising()) input_->MouseRelease(event->button(), event->modifiers(), event->position());
  const Qt::MouseButton pressed = pressButton_;
  pressButton_ = Qt::NoButton;
  if (pressed == Qt::NoButton || !Raising()) return;
  if ((event->position().toPoint() - pressPos_).manhattanLength() > kClickSlop) return;
  input_->Click(pressed, event->modifiers(), pressPos_);
}

}  // namespace tamsel
