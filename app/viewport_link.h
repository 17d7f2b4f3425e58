// Between the viewport and the rest of the window. The host control's events go to the
// viewport object, and so do the window's keys, before its controls see them. The scene's
// inputs are the document's focus and the rotation frame's animations; a pick becomes the
// selection and the focus, announced through the document like any other change.
#pragma once

#include <QObject>
#include <QPoint>
#include <memory>

#include "viewport/glx_events.h"
#include "viewport/viewport_host.h"

class QLabel;
class QMainWindow;
class QRubberBand;
class QTimer;

namespace tamsel {

class CXXX;
class GlxCtl;
class PanelHost;
class PropertyPanels;
class ViewOptions;
struct ColorSettings;
struct ModelChange;

class ViewportLink : public QObject, public GlxEvents, public ViewportHost {
 public:
  ViewportLink(QMainWindow& window, PanelHost& host, GlxCtl& control, ColorSettings& colors,
               ViewOptions& options, PropertyPanels& panels);
  ~ViewportLink() override;

  CXXX& Viewport() { return *cxxx_; }
  // The texture objects follow the texture records; a bitmap that cannot be read is named
  // in the status bar and its faces draw untextured.
  void FollowTextures(const ModelChange& change);
  // Starts the control and the rotation frame's animation.
  void Start();
  int FramesDrawn() const { return framesDrawn_; }
  // Quits the application once the first frame has been drawn (for start-up timing).
  // Quits once the next frame is drawn.
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
  bool ModellingNavigation() const { return modelling_; }
  // The window's keys, as Windows key codes (arrows 37..40, Shift 16 ...).
  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyUp(int keyCode, int shift);

  // ViewportHost.
  SceneInputs CurrentSceneInputs() override;
  bool RotateChosen() override;
  void ApplyPickResult(const PickTarget& picked, bool shift) override;
  void FocusTaker() override;

  // GlxEvents, each forwarded one to one.
  void Init() override;
  void InitGL() override;
  void Draw() override;
  void DrawForPick() override;
  bool Click(int x, int y) override;
  void MouseDown(int button, int shift, float x, float y) override;
  void MouseMove(int button, int shift, float x, float y) override;
  // A left-drag draws a rectangle; letting go selects what shows inside it at the level
  // being edited (Shift adds, Ctrl removes).
  void MouseUp(int button, int shift, float x, float y) override;
  void Wheel(double steps, int shift, float x, float y) override;
  void Pick(const std::vector<std::int32_t>& items) override;
  void ContextLost() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Animating();
  QMainWindow& window_;
  PanelHost& host_;
  GlxCtl& control_;
  ViewOptions& options_;
  PropertyPanels& panels_;
  std::unique_ptr<CXXX> cxxx_;
  QTimer* animation_ = nullptr;
  QRubberBand* band_ = nullptr;
  QLabel* viewName_ = nullptr;  // the view preset the camera looks along, top left
  QPoint bandStart_;
  bool banding_ = false;
  bool modelling_ = false;
  QPoint middleLast_;
  int framesDrawn_ = 0;
  int quitAtFrame_ = -1;
};

// Windows-style key codes for the keys the viewport reads (arrows 37..40, Shift 16 ...).
int KeyCodeOf(int qtKey);

}  // namespace tamsel
