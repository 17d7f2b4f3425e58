// The OpenGL host control: owns the GL context (a compatibility profile, so display lists,
// immediate mode and selection-mode picking are available), raises its events to a
// GlxEvents receiver and offers the camera, light, colour, shape and screen tools and
// texture objects.
#pragma once

#include <QOpenGLWidget>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "viewport/camera.h"
#include "viewport/gl_context_host.h"
#include "viewport/glx_events.h"
#include "viewport/glx_tools.h"
#include "viewport/texture_object.h"

namespace tamsel {

class GlxCtl : public QOpenGLWidget, public GlContextHost {
  Q_OBJECT
 public:
  explicit GlxCtl(QWidget* parent = nullptr);
  ~GlxCtl() override;

  // The surface format the control needs; set it as the default before QApplication exists.
  static void SetDefaultFormat();

  void SetEvents(GlxEvents* events) { events_ = events; }
  // Events are raised only after Start; the Boolean option turns drawing on once the
  // window is shown.
  void Start();
  bool Started() const { return started_; }
  void SetActive(bool active);

  void Redraw() { update(); }
  int HitCount() const { return hitCount_; }
  Light& Lights(int item = 1);
  tamsel::Camera& Camera() { return camera_; }
  const tamsel::ColorTool& ColorTool() const { return colorTool_; }
  const tamsel::ShapeTool& ShapeTool() const { return shapeTool_; }
  tamsel::Screen& Screen() { return screen_; }

  // Runs a selection pass over the scene around the pointer position (logical pixels,
  // origin top left) and raises Pick with the hit records.
  void PickAt(int x, int y);
  // The selection pass alone: the hit records around (x, y), nothing raised; nothing
  // without a context.
  std::optional<std::vector<std::int32_t>> SelectionPass(int x, int y);
  // Loads the camera's projection and model-view matrices (optionally narrowed to a pick
  // region around the given device pixel) for this control's size.
  void ApplyCamera(const QPoint* pickPixel = nullptr);

  using ContextScope = GlContextScope;
  bool Enter(bool& release) override;
  void Leave() override;
  bool HasContext() const override;

  // The pick region is this many pixels square around the pointer.
  static constexpr int kPickSize = 5;
  // A press and release further apart than this is a drag, not a click.
  static constexpr int kClickSlop = 4;

 protected:
  void initializeGL() override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void OnContextDestroyed();
  static int ButtonOf(Qt::MouseButtons buttons);
  static int ShiftOf(Qt::KeyboardModifiers modifiers);

  GlxEvents* events_ = nullptr;
  bool started_ = false, active_ = false, initialized_ = false;
  int hitCount_ = 0;
  tamsel::Camera camera_;
  Light light_;
  tamsel::ColorTool colorTool_;
  tamsel::ShapeTool shapeTool_;
  tamsel::Screen screen_;
  QPoint pressPos_;
  bool pressed_ = false;
};

}  // namespace tamsel
