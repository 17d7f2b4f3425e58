// Between the viewport and the rest of the window. The widget's events go to the viewport
// controller, and so do the window's keys, before its controls see them; the link adds the
// selection rectangle, the view's name and the frame count, which need the window's widgets. The
// scene's inputs are the document's focus and the rotation frame's animations; a pick becomes the
// selection and the focus, announced through the document like any other change.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>

#include "viewport/viewport_host.h"
#include "viewport/viewport_input.h"

class QKeyEvent;
class QLabel;
class QMainWindow;
class QRubberBand;
class QTimer;

namespace tamsel {

class DirectShaping;
class GlViewportWidget;
class ViewportController;
class PanelHost;
class PropertyPanels;
class ViewOptions;
struct ColorSettings;
struct ModelChange;

class ViewportLink : public QObject, public ViewportInput, public ViewportHost {
 public:
  ViewportLink(QMainWindow& window, PanelHost& host, GlViewportWidget& widget,
               ColorSettings& colors, ViewOptions& options, PropertyPanels& panels);
  ~ViewportLink() override;

  ViewportController& Viewport() { return *controller_; }
  DirectShaping& Shaping() { return *shaping_; }
  // What Shift+D runs before it grabs (the modelling tools' scheme): true when it copied.
  void SetDuplicate(std::function<bool()> duplicate) { duplicate_ = std::move(duplicate); }
  // A left click hands its point here first; true when it placed something (Place on
  // Surface), and then it picks nothing.
  void SetPlacer(std::function<bool(QPoint)> placer) { placer_ = std::move(placer); }
  // Where the pointer is over the viewport; the viewport's centre when it is elsewhere.
  QPointF PointerInViewport() const;
  // The texture objects follow the texture records; a bitmap that cannot be read is named
  // in the status bar and its faces draw untextured.
  void FollowTextures(const ModelChange& change);
  // Starts the widget and the rotation frame's animation.
  void Start();
  int FramesDrawn() const { return framesDrawn_; }
  // Quits the application once the next frame is drawn (for start-up timing).
  void SetQuitAfterFirstFrame(bool quit) { quitAtFrame_ = quit ? framesDrawn_ + 1 : -1; }
  // The modelling tools' scheme: middle-drag turns, Shift+middle-drag pans, Ctrl+middle-drag
  // zooms, a left click picks. Off, the default scheme holds. Kept between runs.
  void SetModellingNavigation(bool on);
  // Starts the rotation frame's animation timer when an animation is ticked and shown; the
  // timer stops itself once none is.
  void FollowAnimation();
  bool AnimationRunning() const;
  // What the pointer does over the viewport in the navigation scheme that is on.
  QString PointerHint() const;
  bool ModellingNavigation() const;

  // ViewportHost.
  SceneInputs CurrentSceneInputs() override;
  bool RotateChosen() override;
  void ApplyPickResult(const PickTarget& picked, bool shift) override;
  void FocusTaker() override;
  std::optional<GizmoPicture> Gizmo() override;

  // ViewportInput: the controller's, with the rectangle and the frame count added.
  void InitGL() override;
  void Draw() override;
  void MousePress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) override;
  void MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at) override;
  // A left-drag draws a rectangle; letting go selects what shows inside it at the level
  // being edited (Shift adds, Ctrl removes).
  void MouseRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) override;
  void Wheel(double steps, Qt::KeyboardModifiers modifiers, QPointF at) override;
  void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) override;
  void ContextLost() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Animating();
  // A key for the shaping session or one that begins it (G, R, S and Shift+D in the
  // modelling tools' scheme); true when it was taken.
  bool ShapingKey(QKeyEvent* key, bool overView);
  QMainWindow& window_;
  PanelHost& host_;
  GlViewportWidget& widget_;
  ViewOptions& options_;
  PropertyPanels& panels_;
  std::unique_ptr<ViewportController> controller_;
  std::unique_ptr<DirectShaping> shaping_;
  std::function<bool()> duplicate_;
  std::function<bool(QPoint)> placer_;
  bool swallowClick_ = false;  // the press ended a shaping session: its click picks nothing
  QTimer* animation_ = nullptr;
  QRubberBand* band_ = nullptr;
  QLabel* viewName_ = nullptr;  // the view preset the camera looks along, top left
  QPoint bandStart_;
  bool banding_ = false;
  int framesDrawn_ = 0;
  int quitAtFrame_ = -1;
};

}  // namespace tamsel
