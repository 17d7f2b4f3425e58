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

#include "app/direct_shaping.h"
#include "app/panels/mesh_frames.h"
#include "app/panels/panel_host.h"
#include "app/panels/property_panels.h"
#include "app/view_options.h"
#include "editing/select_many.h"
#include "editing/selection.h"
#include "viewport/camera_frame.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/rect_select.h"
#include "viewport/scene_pick.h"
#include "viewport/scene_view.h"
#include "viewport/viewport_controller.h"

namespace tamsel {
namespace {

const char* const kNavigationKey = "viewport/navigation";

}  // namespace

ViewportLink::ViewportLink(QMainWindow& window, PanelHost& host, GlViewportWidget& widget,
                           ColorSettings& colors, ViewOptions& options, PropertyPanels& panels)
    : QObject(&window),
      window_(window),
      host_(host),
      widget_(widget),
      options_(options),
      panels_(panels),
      controller_(std::make_unique<ViewportController>(host.Doc().model(), host.View(), colors,
                                                       widget, *this)),
      shaping_(std::make_unique<DirectShaping>(host, widget)) {
  widget_.SetInput(this);
  viewName_ = new QLabel(&widget_);
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
      widget_.Redraw();
    else
      animation_->stop();
  });
  qApp->installEventFilter(this);
  controller_->Navigation().SetScheme(QSettings().value(kNavigationKey).toString() == "modelling"
                                          ? NavigationScheme::Modelling
                                          : NavigationScheme::Default);
  widget_.setStatusTip(PointerHint());
}

void ViewportLink::SetModellingNavigation(bool on) {
  controller_->Navigation().SetScheme(on ? NavigationScheme::Modelling : NavigationScheme::Default);
  QSettings().setValue(kNavigationKey, on ? "modelling" : "default");
  widget_.setStatusTip(PointerHint());
}

bool ViewportLink::ModellingNavigation() const {
  return controller_->Navigation().Scheme() == NavigationScheme::Modelling;
}

QString ViewportLink::PointerHint() const {
  return ModellingNavigation()
             ? "Left-click picks (Shift adds); left-drag selects what a rectangle holds (Shift "
               "adds, Ctrl removes); middle-drag turns, Shift+middle-drag pans, Ctrl+middle-drag "
               "zooms; the wheel zooms; F frames the selection"
             : "Right-click picks (Shift adds); left-drag selects what a rectangle holds (Shift "
               "adds, Ctrl removes); right-drag turns or pans as the view options say; the wheel "
               "zooms; middle-drag pans; F frames the selection";
}

ViewportLink::~ViewportLink() {
  qApp->removeEventFilter(this);
  widget_.SetInput(nullptr);
}

void ViewportLink::FollowTextures(const ModelChange& change) {
  const tamsel::Model& model = host_.Doc().model();
  TextureObjects& objects = controller_->Drawing().Textures();
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
  widget_.Start();
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

void ViewportLink::InitGL() {
  controller_->InitGL();
}

void ViewportLink::Draw() {
  controller_->Draw();
  if (const QString name = QString::fromStdString(ViewName(widget_.Camera()));
      viewName_->text() != name) {
    viewName_->setText(name);
    viewName_->adjustSize();
  }
  ++framesDrawn_;
  if (framesDrawn_ == quitAtFrame_) QTimer::singleShot(0, qApp, &QApplication::quit);
}

void ViewportLink::MousePress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) {
  swallowClick_ = false;
  // A session under way ends with the press: a left one keeps it, a right one takes it back.
  if (shaping_->Active() && !shaping_->FromGizmo()) {
    if (button == Qt::LeftButton) shaping_->Commit();
    if (button == Qt::RightButton) shaping_->Cancel();
    swallowClick_ = button == Qt::LeftButton || button == Qt::RightButton;
    if (swallowClick_) return;
  }
  if (button == Qt::LeftButton && shaping_->GrabGizmo(at)) {
    swallowClick_ = true;
    return;
  }
  if (shaping_->Active() && button == Qt::RightButton) {
    shaping_->Cancel();
    swallowClick_ = true;
    return;
  }
  if (button == Qt::LeftButton) {
    bandStart_ = at.toPoint();
    banding_ = true;
  }
  controller_->MousePress(button, modifiers, at);
}

void ViewportLink::MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at) {
  if (shaping_->Active()) return shaping_->Follow(at, modifiers);
  if (banding_ && (held & Qt::LeftButton)) {
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, &widget_);
    band_->setGeometry(QRect(bandStart_, at.toPoint()).normalized());
    band_->show();
  }
  controller_->MouseMove(held, modifiers, at);
}

void ViewportLink::MouseRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                QPointF at) {
  if (shaping_->Active() && shaping_->FromGizmo() && button == Qt::LeftButton) {
    shaping_->Follow(at, modifiers);
    return shaping_->Commit();
  }
  if (button != Qt::LeftButton || !banding_) return;
  banding_ = false;
  const bool drawn = band_ && band_->isVisible();
  if (band_) band_->hide();
  const QPoint end = at.toPoint();
  // A rectangle too small to be one is a click, which the controller takes.
  if (!drawn || (end - bandStart_).manhattanLength() <= GlViewportWidget::kClickSlop) return;
  const Camera& camera = widget_.Camera();
  const int w = widget_.width(), h = widget_.height();
  const Matrix4 view = Multiply(camera.Projection(w, h), camera.ModelView());
  const ScreenRect r{static_cast<double>(bandStart_.x()), static_cast<double>(bandStart_.y()),
                     static_cast<double>(end.x()), static_cast<double>(end.y())};
  const SelectOp op = (modifiers & Qt::ShiftModifier)     ? SelectOp::Add
                      : (modifiers & Qt::ControlModifier) ? SelectOp::Remove
                                                          : SelectOp::Replace;
  const ViewState& v = host_.View();
  // Where faces are solid the rectangle takes what shows, not what they hide; a plain
  // wireframe takes everything inside. Meshes go by their centres, which lie inside them.
  const bool solid = SceneView::Of(v, {}).SolidFaces() && v.GeometryLevel != Geometry::Mesh;
  PickView at3;
  at3.width = w, at3.height = h;
  at3.projection = camera.Projection(w, h);
  at3.modelView = camera.ModelView();
  PickBoxes boxes;
  // The faces are looked at as they were: the selection below copies the meshes it changes.
  const tamsel::Model before = host_.Doc().model();
  SelectWhere(
      host_.Doc().model(), v.LevelIndex(), LevelKind(v.GeometryLevel), op, [&](const Single3& p) {
        return ShowsInside(view, w, h, r, p) && !(solid && HiddenByFaces(before, v, at3, p, boxes));
      });
  host_.SelectionChanged(false);
}

void ViewportLink::Wheel(double steps, Qt::KeyboardModifiers modifiers, QPointF at) {
  controller_->Wheel(steps, modifiers, at);
}

void ViewportLink::Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
  if (std::exchange(swallowClick_, false)) return;
  if (button == Qt::LeftButton && placer_ && placer_(at)) return;
  controller_->Click(button, modifiers, at);
}

void ViewportLink::ContextLost() {
  controller_->ContextLost();
}

bool ViewportLink::eventFilter(QObject* watched, QEvent* event) {
  // The viewport's focus box is a text box that shows nothing typed: the window's shortcuts
  // (Ctrl+Z above all) go past it to the menus, as they would from the viewport itself.
  const QObject* taker = options_.KeyTaker();
  if (event->type() == QEvent::ShortcutOverride && watched == taker) return true;
  // While a move, turn or scale is under way its keys are its own, shortcuts included (an
  // undo then would take the live result into the history).
  if (shaping_->Active() && event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
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
  const bool overView = widget_.rect().contains(widget_.mapFromGlobal(QCursor::pos()));
  if (event->type() == QEvent::KeyPress &&
      (shaping_->Active() || !qobject_cast<QLineEdit*>(focus) || focus == taker) &&
      ShapingKey(key, overView))
    return true;
  const bool arrow = key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
  const bool fit = key->key() == Qt::Key_F && key->modifiers() == Qt::NoModifier;
  // With the pointer over the viewport they are the viewport's, whatever control had the
  // keyboard, but for a text box: what is typed there stays there.
  const bool ownKeys =
      focus && focus != taker &&
      (qobject_cast<QLineEdit*>(focus) ||
       (!overView && (qobject_cast<QAbstractItemView*>(focus) || qobject_cast<QComboBox*>(focus) ||
                      qobject_cast<QAbstractSlider*>(focus))));
  if ((arrow || fit) && ownKeys) return false;
  const bool taken = (arrow || fit) && focus && focus != taker;  // not the list's as well
  if (fit) {
    if (event->type() == QEvent::KeyPress) controller_->Navigation().Fit();
    return focus && (focus == taker || taken);  // no 'f' typed into the box or the list
  }
  if (event->type() == QEvent::KeyPress)
    controller_->Navigation().KeyPress(static_cast<Qt::Key>(key->key()), key->modifiers());
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

bool ViewportLink::ShapingKey(QKeyEvent* key, bool overView) {
  if (shaping_->Active()) return shaping_->Key(static_cast<Qt::Key>(key->key()), key->text());
  if (!ModellingNavigation() || !overView) return false;
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  const QPointF at = widget_.mapFromGlobal(QCursor::pos());
  if (mods == Qt::NoModifier) {
    switch (key->key()) {
      case Qt::Key_G:
        return shaping_->Begin(TransformKind::Move, at), true;
      case Qt::Key_R:
        return shaping_->Begin(TransformKind::Rotate, at), true;
      case Qt::Key_S:
        return shaping_->Begin(TransformKind::Scale, at), true;
      default:
        return false;
    }
  }
  if (mods == Qt::ShiftModifier && key->key() == Qt::Key_D) {
    if (duplicate_ && duplicate_()) shaping_->Begin(TransformKind::Move, at);
    return true;
  }
  return false;
}

QPointF ViewportLink::PointerInViewport() const {
  const QPoint at = widget_.mapFromGlobal(QCursor::pos());
  if (widget_.rect().contains(at)) return at;
  return QPointF(widget_.width() / 2.0, widget_.height() / 2.0);
}

std::optional<GizmoPicture> ViewportLink::Gizmo() {
  return shaping_->Gizmo();
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
