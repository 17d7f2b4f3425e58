#include "support/gl_selection_pass.h"

#include "viewport/gl_frame.h"
#include "viewport/gl_sink.h"

namespace tamsel::test {

ReferenceSceneList::~ReferenceSceneList() {
  if (!list_) return;
  GlViewportWidget::ContextScope scope(widget_);
  if (scope.ok()) glDeleteLists(list_, 1);
}

bool ReferenceSceneList::Compile(const Model& model, const ViewState& view,
                                 const ColorSettings& colors, const SceneInputs& inputs,
                                 TextureObjects& textures) {
  GlViewportWidget::ContextScope scope(widget_);
  if (!scope.ok()) return false;
  if (!list_) list_ = glGenLists(1);
  textures.MakeAll();
  glNewList(list_, GL_COMPILE);
  GlSink sink(textures, widget_.ShapeTool());
  names_ = DrawScene(model, view, colors, inputs, sink);
  glEndList();
  return true;
}

void ReferenceSceneList::Call() const {
  if (list_) glCallList(list_);
}

std::optional<std::vector<std::int32_t>> SelectionPass(GlViewportWidget& widget, int x, int y,
                                                       const std::function<void()>& draw) {
  GlViewportWidget::ContextScope scope(widget);
  if (!scope.ok()) return std::nullopt;
  const qreal ratio = widget.devicePixelRatioF();
  const int w = static_cast<int>(widget.width() * ratio),
            h = static_cast<int>(widget.height() * ratio);
  const PickRegion region{x * ratio, y * ratio, GlViewportWidget::kPickSize * ratio};
  // Grow the buffer until every hit record fits; glRenderMode answers -1 on overflow.
  std::vector<GLuint> buffer(4096);
  GLint hits = -1;
  while (true) {
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(~0u);
    LoadCameraMatrices(widget.Camera(), w, h, &region);
    draw();
    hits = glRenderMode(GL_RENDER);
    if (hits >= 0 || buffer.size() >= (1u << 26)) break;
    buffer.resize(buffer.size() * 4);
  }
  widget.ApplyCamera();
  std::vector<std::int32_t> items;
  std::size_t pos = 0;
  for (int i = 0; i < std::max(hits, 0) && pos + 3 <= buffer.size(); ++i) {
    const std::size_t length = 3 + static_cast<std::size_t>(buffer[pos]);
    if (pos + length > buffer.size()) break;
    for (std::size_t k = 0; k < length; ++k)
      items.push_back(static_cast<std::int32_t>(buffer[pos + k]));
    pos += length;
  }
  return items;
}

int HitCount(const std::vector<std::int32_t>& items) {
  int count = 0;
  for (std::size_t pos = 0; pos + 3 <= items.size();
       pos += 3 + static_cast<std::size_t>(items[pos]))
    ++count;
  return count;
}

namespace {

// Forwards everything to the receiver it stands in for, but draws what it is given.
class DrawingInstead : public ViewportInput {
 public:
  DrawingInstead(ViewportInput& real, const std::function<void()>& draw)
      : real_(real), draw_(draw) {}
  void InitGL() override { real_.InitGL(); }
  void Draw() override {
    ClearScreen();
    draw_();
  }
  void MousePress(Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF at) override {
    real_.MousePress(b, m, at);
  }
  void MouseMove(Qt::MouseButtons b, Qt::KeyboardModifiers m, QPointF at) override {
    real_.MouseMove(b, m, at);
  }
  void MouseRelease(Qt::MouseButton b, Qt::KeyboardModifiers m, QPointF at) override {
    real_.MouseRelease(b, m, at);
  }
  void Wheel(double steps, Qt::KeyboardModifiers m, QPointF at) override {
    real_.Wheel(steps, m, at);
  }
  void Click(Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) override {
    real_.Click(b, m, at);
  }
  void ContextLost() override { real_.ContextLost(); }

 private:
  ViewportInput& real_;
  const std::function<void()>& draw_;
};

}  // namespace

QImage FrameDrawnBy(GlViewportWidget& widget, const std::function<void()>& draw) {
  ViewportInput* real = widget.Input();
  if (!real) return {};
  DrawingInstead instead(*real, draw);
  widget.SetInput(&instead);
  const QImage frame = widget.grabFramebuffer();
  widget.SetInput(real);
  return frame;
}

}  // namespace tamsel::test
