// The GL viewport widget: owns the GL context (a compatibility profile, for display lists
// and immediate mode), the camera and the light, and raises its pointer events to a
// ViewportInput receiver.
#pragma once

#include <QOpenGLWidget>
#include <QPoint>

#include "viewport/camera.h"
#include "viewport/gl_context_host.h"
#include "viewport/gl_tools.h"
#include "viewport/viewport_input.h"

namespace tamsel {

class GlViewportWidget : public QOpenGLWidget, public GlContextHost {
  Q_OBJECT
 public:
  explicit GlViewportWidget(QWidget* parent = nullptr);
  ~GlViewportWidget() override;

  // The surface format the widget needs; set it as the default before QApplication exists.
  static void SetDefaultFormat();

  void SetInput(ViewportInput* input) { input_ = input; }
  ViewportInput* Input() const { return input_; }
  // Events are raised only after Start, and frames drawn only while active.
  void Start();
  bool Started() const { return started_; }
  void SetActive(bool active);

  void Redraw() { update(); }
  tamsel::Light& Light() { return light_; }
  tamsel::Camera& Camera() { return camera_; }
  const tamsel::ShapeTool& ShapeTool() const { return shapeTool_; }

  // Loads the camera's projection and model-view matrices for this widget's size.
  void ApplyCamera();

  using ContextScope = GlContextScope;
  bool Enter(bool& release) override;
  void Leave() override;
  bool HasContext() const override;

  // A click picks what lies in a square this many pixels wide around the pointer.
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
  bool Raising() const { return started_ && input_; }

  ViewportInput* input_ = nullptr;
  bool started_ = false, active_ = false, initialized_ = false;
  tamsel::Camera camera_;
  tamsel::Light light_;
  tamsel::ShapeTool shapeTool_;
  QPoint pressPos_;
  Qt::MouseButton pressButton_ = Qt::NoButton;
};

}  // namespace tamsel
