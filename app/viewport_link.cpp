#include "app/viewport_link.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QRubberBand>
#include <QSettings>
#include <QTimer>
#include <filesystem>

#include "app/panels/mesh_frames.h"
#include "app/panels/panel_host.h"
#include "app/panels/property_panels.h"
#include "app/view_options.h"
#include "editing/select_many.h"
#include "editing/selection.h"
#include "viewport/camera_frame.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"
#include "viewport/rect_select.h"
#include "viewport/scene_pick.h"
#include "viewport/scene_view.h"

namespace tamsel {
namespace {

const char* const kNavigationKey = "viewport/navigation";

}  // namespace
int KeyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Delete:
      return 46;
    default:
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
      return 0;
  }
}

ViewportLink::ViewportLink(QMainWindow& window, PanelHost& host, GlxCtl& control,
                           ColorSettings& colors, ViewOptions& options, PropertyPanels& panels)
    : QObject(&window),
      window_(window),
      host_(host),
      control_(control),
      options_(options),
      panels_(panels),
      cxxx_(std::make_unique<CXXX>(host.Doc().model(), host.View(), colors, control, *this)) {
  control_.SetEvents(this);
  viewName_ = new QLabel(&control_);
  viewName_->setObjectName("viewname");
  viewName_->setStyleSheet("QLabel { color: #c8c8c8; background: transparent; }");
  viewName_->setAttribute(Qt::WA_TransparentForMouseEvents);
  viewName_->move(8, 6);
  animation_ = new QTimer(this);
  animation_->setInterval(40);
  // The rotation frame animates: every tick asks for a frame, and Draw advances the angle.
  // The timer runs only while an animation is ticked and shown: an idle window uses no CPU.
  connect(animation_, &QTimer::timeout, this, [this] {
    if (Animating())
      control_.Redraw();
    else
      animation_->stop();
  });
  qApp->installEventFilter(this);
  modelling_ = QSettings().value(kNavigationKey).toString() == "modelling";
  control_.setStatusTip(PointerHint());
}

void ViewportLink::SetModellingNavigation(bool on) {
  modelling_ = on;
  QSettings().setValue(kNavigationKey, on ? "modelling" : "default");
  control_.setStatusTip(PointerHint());
}

QString ViewportLink::PointerHint() const {
  return modelling_
             ? "Left-click picks (Shift adds); left-drag selects what a rectangle holds (Shift "
               "adds, Ctrl removes); middle-drag turns, Shift+middle-drag pans, Ctrl+middle-drag "
               "zooms; the wheel zooms; F frames the selection"
             : "Right-click picks (Shift adds); left-drag selects what a rectangle holds (Shift "
               "adds, Ctrl removes); right-drag turns or pans as the view options say; the wheel "
               "zooms; middle-drag pans; F frames the selection";
}

ViewportLink::~ViewportLink() {
  qApp->removeEventFilter(this);
  control_.SetEvents(nullptr);
}

void ViewportLink::FollowTextures(const ModelChange& change) {
  const tamsel::Model& model = host_.Doc().model();
  TextureObjects& objects = cxxx_->Textures();
  if (change.everything) objects.Clear();
  const std::size_t count = model.Textures.size();
  const std::size_t loaded = std::min(objects.size(), count);
  if (change.everything || change.textureList) {
    objects.Resize(count);
    QStringList missing;
    for (std::size_t t = loaded; t < count; ++t) {
      const TextureRec& tex = model.Textures[t];
      const auto path = std::filesystem::path(model.ProjectPath) / tex.Name;
      if (!objects.Load(t, QString::fromStdString(path.string()), tex.TransTolerance))
        missing << QString::fromStdString(path.string());
    }
    if (!missing.isEmpty())
      host_.Status("Missing or unreadable bitmap (drawn untextured): " + missing.join(", "));
  }
  for (int t : change.textures)
    if (static_cast<std::size_t>(t) < loaded)
      objects.Rekey(static_cast<std::size_t>(t),
                    model.Textures[static_cast<std::size_t>(t)].TransTolerance);
}

void ViewportLink::Start() {
  control_.Start();
  FollowAnimation();
}

bool ViewportLink::Animating() {
  if (host_.View().PropertyPanel != Panel::Rotation) return false;
  const SceneInputs in = CurrentSceneInputs();
  return in.animateAxis || in.animateAim || in.animateDegree;
}

bool ViewportLink::AnimationRunning() const {
  return animation_->isActive();
}

void ViewportLink::FollowAnimation() {
  if (Animating() && !animation_->isActive()) animation_->start();
}

void ViewportLink::Init() {
  cxxx_->Init();
}
void ViewportLink::InitGL() {
  cxxx_->InitGL();
}

void ViewportLink::Draw() {
  cxxx_->Draw();
  if (const QString name = QString::fromStdString(ViewName(control_.Camera()));
      viewName_->text() != name) {
    viewName_->setText(name);
    viewName_->adjustSize();
  }
  ++framesDrawn_;
  if (framesDrawn_ == quitAtFrame_) QTimer::singleShot(0, qApp, &QApplication::quit);
}

void ViewportLink::DrawForPick() {
  cxxx_->DrawForPick();
}
void ViewportLink::MouseDown(int b, int s, float x, float y) {
  if (modelling_ && b == 4) {
    middleLast_ = QPoint(static_cast<int>(x), static_cast<int>(y));
    return;  // the scheme's own turning, panning and zooming
  }
  if (b == 1) {
    bandStart_ = QPoint(static_cast<int>(x), static_cast<int>(y));
    banding_ = true;
  }
  cxxx_->MouseDown(b, s, x, y);
}
void ViewportLink::MouseMove(int b, int s, float x, float y) {
  if (modelling_ && (b & 4)) {
    const QPoint at(static_cast<int>(x), static_cast<int>(y));
    const QPoint d = at - middleLast_;
    middleLast_ = at;
    Camera& camera = control_.Camera();
    if (s & 2) {
      cxxx_->Wheel(-d.y() / 20.0, 0);  // up zooms in, as a wheel turned away
    } else if (s & 1) {
      const double unit = cxxx_->UnitsPerPixel();
      camera.Pan(d.x() * unit, -d.y() * unit);
    } else {
      camera.RotateY(0.5 * d.x());
      camera.RotateX(0.5 * d.y());
    }
    control_.Redraw();
    return;
  }
  if (banding_ && (b & 1)) {
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, &control_);
    band_->setGeometry(
        QRect(bandStart_, QPoint(static_cast<int>(x), static_cast<int>(y))).normalized());
    band_->show();
  }
  cxxx_->MouseMove(b, s, x, y);
}

void ViewportLink::MouseUp(int b, int s, float x, float y) {
  if (b != 1 || !banding_) return;
  banding_ = false;
  const bool drawn = band_ && band_->isVisible();
  if (band_) band_->hide();
  const QPoint end(static_cast<int>(x), static_cast<int>(y));
  if (!drawn || (end - bandStart_).manhattanLength() <= GlxCtl::kClickSlop) {
    // A left click picks in the modelling tools' scheme, as a right click does otherwise.
    if (!modelling_ || (end - bandStart_).manhattanLength() > GlxCtl::kClickSlop) return;
    const PickOutcome picked = cxxx_->ClickAt(bandStart_.x(), bandStart_.y());
    if (picked.kind == PickOutcome::NoHit) ApplyPickResult({}, s & 1);
    if (picked.kind == PickOutcome::Named) ApplyPickResult(picked.target, s & 1);
    return;
  }
  const Matrix4 view = Multiply(control_.Camera().Projection(control_.width(), control_.height()),
                                control_.Camera().ModelView());
  const ScreenRect r{static_cast<double>(bandStart_.x()), static_cast<double>(bandStart_.y()),
                     static_cast<double>(end.x()), static_cast<double>(end.y())};
  const SelectOp op = (s & 1) ? SelectOp::Add : (s & 2) ? SelectOp::Remove : SelectOp::Replace;
  const int w = control_.width(), h = control_.height();
  const ViewState& v = host_.View();
  // Where faces are solid the rectangle takes what shows, not what they hide; a plain
  // wireframe takes everything inside. Meshes go by their centres, which lie inside them.
  const bool solid = SceneView::Of(v, {}).SolidFaces() && v.GeometryLevel != Geometry::Mesh;
  PickView at;
  at.width = w, at.height = h;
  at.projection = control_.Camera().Projection(w, h);
  at.modelView = control_.Camera().ModelView();
  PickBoxes boxes;
  // The faces are looked at as they were: the selection below copies the meshes it changes.
  const tamsel::Model before = host_.Doc().model();
  SelectWhere(
      host_.Doc().model(), v.LevelIndex(), LevelKind(v.GeometryLevel), op, [&](const Single3& p) {
        return ShowsInside(view, w, h, r, p) && !(solid && HiddenByFaces(before, v, at, p, boxes));
      });
  host_.SelectionChanged(false);
}
void ViewportLink::Wheel(double steps, int shift, float x, float y) {
  cxxx_->WheelAt(steps, shift, x, y);
}
bool ViewportLink::Click(int x, int y) {
  cxxx_->Click(x, y);
  return true;
}
void ViewportLink::Pick(const std::vector<std::int32_t>& items) {
  cxxx_->Pick(items);
}
void ViewportLink::ContextLost() {
  cxxx_->ContextLost();
}

void ViewportLink::Form_KeyDown(int keyCode, int shift) {
  cxxx_->KeyDown(keyCode, shift);
}
void ViewportLink::Form_KeyUp(int keyCode, int shift) {
  cxxx_->KeyUp(keyCode, shift);
}

bool ViewportLink::eventFilter(QObject* watched, QEvent* event) {
  // The viewport's focus box is a text box that shows nothing typed: the window's shortcuts
  // (Ctrl+Z above all) go past it to the menus, as they would from the viewport itself.
  const QObject* taker = options_.KeyTaker();
  if (event->type() == QEvent::ShortcutOverride && watched == taker) return true;
  // The window sees every key before its controls do, then the control gets it too.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != &window_) return false;
  // An unhandled key travels on to the parents as the same event: take it once, where it
  // starts (the focus widget, or the window itself when nothing has the focus).
  QWidget* focus = QApplication::focusWidget();
  if (focus ? widget != focus : widget != &window_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat() && event->type() == QEvent::KeyRelease) return false;
  // Arrows belong to the control that has the keyboard: a text box moves its cursor, a list
  // its row, a slider its value. The viewport (and its focus box) takes them otherwise.
  const bool arrow = key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
  const bool fit = key->key() == Qt::Key_F && key->modifiers() == Qt::NoModifier;
  // With the pointer over the viewport they are the viewport's, whatever control had the
  // keyboard, but for a text box: what is typed there stays there.
  const bool overView = control_.rect().contains(control_.mapFromGlobal(QCursor::pos()));
  const bool ownKeys =
      focus && focus != taker &&
      (qobject_cast<QLineEdit*>(focus) ||
       (!overView && (qobject_cast<QAbstractItemView*>(focus) || qobject_cast<QComboBox*>(focus) ||
                      qobject_cast<QAbstractSlider*>(focus))));
  if ((arrow || fit) && ownKeys) return false;
  const bool taken = (arrow || fit) && focus && focus != taker;  // not the list's as well
  if (fit) {
    if (event->type() == QEvent::KeyPress) cxxx_->Fit();
    return focus && (focus == taker || taken);  // no 'f' typed into the box or the list
  }
  int shift = 0;
  if (key->modifiers() & Qt::ShiftModifier) shift |= 1;
  if (key->modifiers() & Qt::ControlModifier) shift |= 2;
  if (key->modifiers() & Qt::AltModifier) shift |= 4;
  // Releasing Shift itself leaves Shift up, whatever the platform reports.
  if (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Shift) shift &= ~1;
  if (event->type() == QEvent::KeyPress)
    Form_KeyDown(KeyCodeOf(key->key()), shift);
  else
    Form_KeyUp(KeyCodeOf(key->key()), shift);
  return taken;
}

SceneInputs ViewportLink::CurrentSceneInputs() {
  SceneInputs in;
  const int level = host_.View().LevelIndex();
  const Focus& focus = host_.Doc().focus();
  if (focus.mesh >= 0 && focus.mesh < host_.Doc().model().MeshCount()) in.focusedMesh = focus.mesh;
  if (focus.face && FaceAt(host_.Doc().model(), level, *focus.face)) in.focusedFace = focus.face;
  if (focus.corner && CornerAt(host_.Doc().model(), level, *focus.corner))
    in.focusedCorner = focus.corner;
  const RotationFrame::Animations animated = panels_.Rotation().Animated();
  in.animateAxis = animated.axis;
  in.animateAim = animated.aim;
  in.animateDegree = animated.degree;
  return in;
}

bool ViewportLink::RotateChosen() {
  return options_.RotateChosen();
}

void ViewportLink::FocusTaker() {
  options_.TakeKeys();
}

void ViewportLink::ApplyPickResult(const PickTarget& picked, bool shift) {
  const int level = host_.View().LevelIndex();
  const PickTarget chosen =
      ApplyPick(host_.Doc().model(), level, LevelKind(host_.View().GeometryLevel), picked, shift);
  Focus& focus = host_.Doc().focus();
  switch (chosen.kind) {
    case PickKind::Mesh:
      focus.mesh = chosen.mesh;
      break;
    case PickKind::Face:
      FocusFace(focus, host_.Doc().model(), level, {chosen.mesh, chosen.face},
                host_.View().FlightGroupColor);
      break;
    case PickKind::Corner:
      focus.mesh = chosen.mesh;
      focus.face = FaceRef{chosen.mesh, chosen.face};
      focus.corner = CornerRef{chosen.mesh, chosen.face, chosen.corner};
      break;
    case PickKind::None:
      break;
  }
  // A pick is a change of selection like any other: the document tells every view.
  host_.SelectionChanged(chosen.kind != PickKind::None);
}

}  // namespace tamsel
