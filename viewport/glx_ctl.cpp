#include "viewport/glx_ctl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "viewport/gl_frame.h"

namespace tamsel {

GlxCtl::GlxCtl(QWidget* parent) : QOpenGLWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
}

GlxCtl::~GlxCtl() {
  // The context outlives this part of the object; it must not call back into it.
  if (context()) disconnect(context(), nullptr, this, nullptr);
  ForgetTextures();
}

void GlxCtl::SetDefaultFormat() {
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(24);
  format.setRenderableType(QSurfaceFormat::OpenGL);
  QSurfaceFormat::setDefaultFormat(format);
}

void GlxCtl::Start() {
  started_ = true;
}

void GlxCtl::SetActive(bool active) {
  active_ = active;
  update();
}

Light& GlxCtl::Lights(int /*item*/) {
  return light_;
}

bool GlxCtl::HasContext() const {
  return context() && context()->isValid();
}

bool GlxCtl::Enter(bool& release) {
  release = false;
  if (!HasContext()) return false;
  if (QOpenGLContext::currentContext() != context()) {
    makeCurrent();
    release = true;
  }
  return true;
}

void GlxCtl::Leave() {
  doneCurrent();
}

void GlxCtl::initializeGL() {
  // A re-parented widget or a screen change can hand us a new context: everything that
  // lived in the old one is gone, so the receiver rebuilds it from InitGL on.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlxCtl::OnContextDestroyed,
          Qt::UniqueConnection);
  if (initialized_) OnContextDestroyed();
  initialized_ = true;
  if (events_) {
    events_->Init();
    events_->InitGL();
  }
}

void GlxCtl::OnContextDestroyed() {
  ForgetTextures();
  if (events_) events_->ContextLost();
}

void GlxCtl::ApplyCamera(const QPoint* pickPixel) {
  const qreal ratio = devicePixelRatioF();
  const int w = static_cast<int>(width() * ratio), h = static_cast<int>(height() * ratio);
  if (!pickPixel) return LoadCameraMatrices(camera_, w, h);
  const PickRegion pick{static_cast<double>(pickPixel->x()), static_cast<double>(pickPixel->y()),
                        kPickSize * ratio};
  LoadCameraMatrices(camera_, w, h, &pick);
}

void GlxCtl::paintGL() {
  if (!started_ || !active_ || !events_) {
    glClearColor(0, 0, 0, 1);  // opaque: a grab of the window shows black, as the screen does
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return;
  }
  ApplyCamera();
  light_.Apply();
  events_->Draw();
}

void GlxCtl::PickAt(int x, int y) {
  if (!started_ || !events_) return;
  if (const auto items = SelectionPass(x, y)) events_->Pick(*items);
}

std::optional<std::vector<std::int32_t>> GlxCtl::SelectionPass(int x, int y) {
  if (!started_ || !events_) return std::nullopt;
  ContextScope scope(*this);
  if (!scope.ok()) return std::nullopt;
  std::vector<std::int32_t> items;
  const qreal ratio = devicePixelRatioF();
  const QPoint pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
  // Grow the buffer until every hit record fits; glRenderMode answers -1 on overflow.
  std::vector<GLuint> buffer(4096);
  GLint hits = -1;
  while (true) {
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(~0u);
    ApplyCamera(&pixel);
    events_->DrawForPick();
    hits = glRenderMode(GL_RENDER);
    if (hits >= 0 || buffer.size() >= (1u << 26)) break;
    buffer.resize(buffer.size() * 4);
  }
  ApplyCamera();
  hitCount_ = hits < 0 ? 0 : hits;
  std::size_t pos = 0;
  for (int i = 0; i < hitCount_ && pos + 3 <= buffer.size(); ++i) {
    const GLuint names = buffer[pos];
    const std::size_t length = 3 + static_cast<std::size_t>(names);
    if (pos + length > buffer.size()) break;
    for (std::size_t k = 0; k < length; ++k)
      items.push_back(static_cast<std::int32_t>(buffer[pos + k]));
    pos += length;
  }
  return items;
}

int GlxCtl::ButtonOf(Qt::MouseButtons buttons) {
  int b = 0;
  if (buttons & Qt::LeftButton) b |= 1;
  if (buttons & Qt::RightButton) b |= 2;
  if (buttons & Qt::MiddleButton) b |= 4;
  return b;
}

int GlxCtl::ShiftOf(Qt::KeyboardModifiers modifiers) {
  int s = 0;
  if (modifiers & Qt::ShiftModifier) s |= 1;
  if (modifiers & Qt::ControlModifier) s |= 2;
  if (modifiers & Qt::AltModifier) s |= 4;
  return s;
}

void GlxCtl::mousePressEvent(QMouseEvent* event) {
  pressPos_ = event->position().toPoint();
  pressed_ = true;
  if (started_ && events_)
    events_->MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers()),
                       static_cast<float>(event->position().x()),
                       static_cast<float>(event->position().y()));
}

void GlxCtl::mouseMoveEvent(QMouseEvent* event) {
  if (started_ && events_)
    events_->MouseMove(ButtonOf(event->buttons()), ShiftOf(event->modifiers()),
                       static_cast<float>(event->position().x()),
                       static_cast<float>(event->position().y()));
}

void GlxCtl::wheelEvent(QWheelEvent* event) {
  if (started_ && events_)
    events_->Wheel(event->angleDelta().y() / 120.0, ShiftOf(event->modifiers()),
                   static_cast<float>(event->position().x()),
                   static_cast<float>(event->position().y()));
  event->accept();
}

void GlxCtl::mouseReleaseEvent(QMouseEvent* event) {
  if (started_ && events_)
    events_->MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers()),
                     static_cast<float>(event->position().x()),
                     static_cast<float>(event->position().y()));
  if (!pressed_) return;
  pressed_ = false;
  const QPoint at = event->position().toPoint();
  if ((at - pressPos_).manhattanLength() > kClickSlop || !started_ || !events_) return;
  if (!events_->Click(pressPos_.x(), pressPos_.y())) PickAt(pressPos_.x(), pressPos_.y());
}

}  // namespace tamsel
