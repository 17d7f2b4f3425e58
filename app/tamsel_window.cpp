#include "app/tamsel_window.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/frames/frames.h"
#include "app/keyed_toolbar.h"
#include "app/outliner.h"
#include "app/row_list.h"
#include "app/start_page.h"
#include "app/texture_shelf.h"
#include "app/toolbar_buttons.h"
#include "model/project.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace tamsel {

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

TamselWindow::TamselWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
  setObjectName("tamsel");
  setWindowTitle("Tamsel v0.4");
  setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
  menus_ = BuildMenus(menuBar());
  recentMenu_ = menuBar()->findChild<QMenu*>("recentmenu");
  setAcceptDrops(true);
  doc_.AddListener([this](const ModelChange& change) { OnDocumentChanged(change); });
  BuildStatusBar();

  // The viewport fills the centre; the view options sit under it.
  client_ = new QWidget(this);
  client_->setObjectName("client");
  setCentralWidget(client_);
  auto* centre = new QVBoxLayout(client_);
  centre->setContentsMargins(0, 0, 0, 0);
  centre->setSpacing(0);
  renderscreen_ = new GlxCtl(client_);
  renderscreen_->setObjectName("renderscreen");
  renderscreen_->setStatusTip(
      "Right-click picks (Shift adds); right-drag turns or pans as the view options say; the "
      "wheel zooms; middle-drag pans; F frames the selection");
  renderscreen_->SetEvents(this);
  renderscreen_->setMinimumSize(200, 150);
  centre->addWidget(renderscreen_, 1);
  viewopframe_ = BuildViewOptionFrame(client_);
  centre->addWidget(viewopframe_);
  startPage_ = new StartPage(renderscreen_);
  cxxx_ = std::make_unique<CXXX>(model_, view_, colors_, *renderscreen_, *this);

  dispbar_ = new KeyedToolBar("dispbar", DispBarButtons());
  viewbar_ = new KeyedToolBar("viewbar", ViewBarButtons());
  for (auto [bar, name, title] : {std::tuple{viewbar_, "viewtoolbar", "View"},
                                  std::tuple{dispbar_, "displaytoolbar", "Display"}}) {
    auto* tools = addToolBar(title);
    tools->setObjectName(name);
    tools->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    tools->addWidget(bar);
  }

  // The property tool bar heads the frames it chooses between; the frames scroll when the
  // dock is smaller than they need, so nothing in them is ever cut off.
  auto* properties = new QWidget;
  properties->setObjectName("propertiespanel");
  auto* column = new QVBoxLayout(properties);
  column->setContentsMargins(4, 4, 4, 4);
  propbar_ = new KeyedToolBar("propbar", PropBarButtons(), properties);
  column->addWidget(propbar_);
  propertyStack_ = new QStackedWidget;
  propertyStack_->setObjectName("propertystack");
  frames_ = {BuildGeometryFrame(propertyStack_),  BuildTextureFrame(propertyStack_),
             BuildHitzoneFrame(propertyStack_),   BuildRotationFrame(propertyStack_),
             BuildHardpointFrame(propertyStack_), BuildEngineGlowFrame(propertyStack_)};
  for (QGroupBox* frame : frames_) propertyStack_->addWidget(frame);
  auto* scroll = new QScrollArea;
  scroll->setObjectName("propertyscroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(propertyStack_);
  column->addWidget(scroll, 1);

  outliner_ = new Outliner;
  shelf_ = new TextureShelf;
  QDockWidget* outlinerDock =
      AddDock("outlinerdock", "Outliner", outliner_, Qt::LeftDockWidgetArea);
  QDockWidget* texturesDock = AddDock("texturesdock", "Textures", shelf_, Qt::LeftDockWidgetArea);
  QDockWidget* propertiesDock =
      AddDock("propertiesdock", "Properties", properties, Qt::RightDockWidgetArea);
  tabifyDockWidget(outlinerDock, texturesDock);
  outlinerDock->raise();
  // The docks start narrow and the viewport takes the rest; the frames scroll within.
  resizeDocks({outlinerDock, propertiesDock}, {200, 440}, Qt::Horizontal);
  BuildViewMenu();

  animation_ = new QTimer(this);
  animation_->setInterval(40);
  // The rotation panel animates: every tick asks for a frame, and Draw advances the angle.
  connect(animation_, &QTimer::timeout, this, [this] {
    if (view_.PropertyPanel != "rotation") return;
    const SceneInputs in = CurrentSceneInputs();
    if (in.animateAxis || in.animateAim || in.animateDegree) renderscreen_->Redraw();
  });
  new EventWatcher(renderscreen_, {QEvent::Resize},
                   [this](QEvent*) { startPage_->setGeometry(StartPageRect()); });
  qApp->installEventFilter(this);

  Form_Load();
  ConnectHandlers();
  ConnectPanels();
  connect(MenuItem("editundomenu"), &QAction::triggered, this, &TamselWindow::editundomenu_Click);
  connect(MenuItem("editredomenu"), &QAction::triggered, this, &TamselWindow::editredomenu_Click);
  connect(MenuItem("quitmenu"), &QAction::triggered, this, &QWidget::close);
  RebuildRecentMenu();
  UpdateCaption();
  ShowProjectState();
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(1280, 800);
  defaultLayout_ = saveState();
  RestoreLayout();
}

TamselWindow::~TamselWindow() {
  qApp->removeEventFilter(this);
  renderscreen_->SetEvents(nullptr);
}

void TamselWindow::Form_Load() {
  std::error_code ec;
  model_.StartFolder = std::filesystem::current_path(ec).string();
  model_.Ids = IdCounters{};
  view_ = ViewState{};
  colors_ = ColorSettings{};
  model_.NormalLength = 30.0;
  for (const char* name : {"saveopzmenu", "optcreatemenu", "optimportmenu", "opzimportmenu",
                           "dxfimportmenu", "threedsimportmenu", "exportmodelmenu"})
    menus_.value(name)->setEnabled(false);
  ApplyStartButtonStates();
  BringToFront(propertyStack_->findChild<QWidget*>("geometrysubframe"));
  BringToFront(propertyStack_->findChild<QWidget*>("transsubframe"));
  BringToFront(frames_[0]);
}

// The pressed buttons and visible controls that match the start values of the view state.
void TamselWindow::ApplyStartButtonStates() {
  for (const char* key : {"high level", "mesh", "wireframe", "norm"})
    dispbar_->SetValue(dispbar_->IndexOfKey(key), 1);
  propbar_->SetValue(1, 1);
  propbar_->SetValue(9, 1);
  propbar_->SetValue(11, 1);
  propbar_->SetVisible(11, false);
  propbar_->SetVisible(12, false);
  propbar_->SetEnabled(10, false);  // the texture sub-frame belongs to the face and vertex levels
  SetGeometryLevelControls("mesh");
}

void TamselWindow::SetGeometryLevelControls(const QString& level) {
  static const char* const meshSet[] = {"meshlist",       "meshdeletebut",  "lodassignmentbut",
                                        "Xmeshtext",      "Ymeshtext",      "Zmeshtext",
                                        "Xmeshangletext", "Ymeshangletext", "Zmeshangletext",
                                        "meshsizetext",   "meshloddisttext"};
  static const char* const faceSet[] = {
      "facelist",       "Xfacetext",      "Yfacetext",     "Zfacetext",      "Xfaceangletext",
      "Yfaceangletext", "Zfaceangletext", "facesizetext",  "Ifacenormtext",  "Jfacenormtext",
      "Kfacenormtext",  "X1vectortext",   "Y1vectortext",  "Z1vectortext",   "X2vectortext",
      "Y2vectortext",   "Z2vectortext",   "textureviewer", "texturepreview", "texturelist",
      "fgframe",        "fgoffop",        "fgonop",        "stitchframe",    "texhflipbut",
      "texvflipbut",    "texcrotatebut",  "texccrotatebut"};
  static const char* const vertexSet[] = {
      "Xvertexlist",   "Yvertexlist",   "Zvertexlist",   "Xvertextext",
      "Yvertextext",   "Zvertextext",   "Ivertnormlist", "Jvertnormlist",
      "Kvertnormlist", "Ivertnormtext", "Jvertnormtext", "Kvertnormtext",
      "Ucoordlist",    "Vcoordlist",    "Ucoordtext",    "Vcoordtext"};
  const auto show = [this](const auto& names, bool visible) {
    for (const char* name : names)
      if (QWidget* w = propertyStack_->findChild<QWidget*>(name)) w->setVisible(visible);
  };
  show(meshSet, level == "mesh");
  show(faceSet, level == "face");
  show(vertexSet, level == "vertex");
  FollowBuddies(propertyStack_);
  // With the mesh and face lists hidden, their row gives its height to the corner lists.
  // Only the vertex level's corner lists need the panel's height; otherwise the mesh and
  // face lists take it, and no grey space is left between.
  if (auto* column = qobject_cast<QBoxLayout*>(frames_[0]->layout())) {
    column->setStretch(0, level == "vertex" ? 0 : 1);
    column->setStretch(1, level == "vertex" ? 1 : 0);
  }
}

void TamselWindow::BringToFront(QWidget* frame) {
  if (!frame) return;
  auto* stack = qobject_cast<QStackedWidget*>(frame->parentWidget());
  if (!stack) return;
  stack->setCurrentWidget(frame);
  if (stack != propertyStack_) return;
  // The properties take the height of the frame on show, not of the tallest frame, so that
  // a short frame is not stretched into grey space below the dock's fold.
  for (QGroupBox* f : frames_) {
    f->setSizePolicy(QSizePolicy::Preferred,
                     f == frame ? QSizePolicy::Preferred : QSizePolicy::Ignored);
  }
  stack->updateGeometry();
}

void TamselWindow::ShowPropertyFrames(bool shown) {
  propertyStack_->setVisible(shown);
}

void TamselWindow::Startup() {
  renderscreen_->Start();
  show();
  renderscreen_->SetActive(true);
  animation_->start();
  random_.seed(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
}

RowList* TamselWindow::List(const QString& name) const {
  return findChild<RowList*>(name);
}
QLineEdit* TamselWindow::Box(const QString& name) const {
  return findChild<QLineEdit*>(name);
}

void TamselWindow::ShowStatus(const QString& text) {
  statusBar()->showMessage(text, 10000);
}

BusyPointer::BusyPointer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyPointer::~BusyPointer() {
  QApplication::restoreOverrideCursor();
}

void TamselWindow::Init() {
  cxxx_->Init();
}
void TamselWindow::InitGL() {
  cxxx_->InitGL();
}

void TamselWindow::Draw() {
  cxxx_->Draw();
  ++framesDrawn_;
  if (quitAfterFirstFrame_ && framesDrawn_ == 1) QTimer::singleShot(0, qApp, &QApplication::quit);
}

void TamselWindow::DrawForPick() {
  cxxx_->DrawForPick();
}
void TamselWindow::MouseDown(int b, int s, float x, float y) {
  cxxx_->MouseDown(b, s, x, y);
}
void TamselWindow::MouseMove(int b, int s, float x, float y) {
  cxxx_->MouseMove(b, s, x, y);
}
void TamselWindow::Wheel(double steps, int shift) {
  cxxx_->Wheel(steps, shift);
}
bool TamselWindow::Click(int x, int y) {
  cxxx_->Click(x, y);
  return true;
}
void TamselWindow::Pick(const std::vector<std::int32_t>& items) {
  cxxx_->Pick(items);
}
void TamselWindow::ContextLost() {
  cxxx_->ContextLost();
}

void TamselWindow::Form_KeyDown(int keyCode, int shift) {
  cxxx_->KeyDown(keyCode, shift);
}
void TamselWindow::Form_KeyUp(int keyCode, int shift) {
  cxxx_->KeyUp(keyCode, shift);
}

bool TamselWindow::eventFilter(QObject* watched, QEvent* event) {
  // The viewport's focus box is a text box that shows nothing typed: the window's shortcuts
  // (Ctrl+Z above all) go past it to the menus, as they would from the viewport itself.
  if (event->type() == QEvent::ShortcutOverride && watched->objectName() == "focustaker")
    return true;
  // The window sees every key before its controls do, then the control gets it too.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  // An unhandled key travels on to the parents as the same event: take it once, where it
  // starts (the focus widget, or the window itself when nothing has the focus).
  QWidget* focus = QApplication::focusWidget();
  if (focus ? widget != focus : widget != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat() && event->type() == QEvent::KeyRelease) return false;
  // Arrows belong to the control that has the keyboard: a text box moves its cursor, a list
  // its row, a slider its value. The viewport (and its focus box) takes them otherwise.
  const bool arrow = key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
  const bool fit = key->key() == Qt::Key_F && key->modifiers() == Qt::NoModifier;
  if ((arrow || fit) && focus && focus->objectName() != "focustaker" &&
      (qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractItemView*>(focus) ||
       qobject_cast<QComboBox*>(focus) || qobject_cast<QAbstractSlider*>(focus)))
    return false;
  if (fit && event->type() == QEvent::KeyPress) {
    cxxx_->Fit();
    return focus && focus->objectName() == "focustaker";  // no 'f' typed into it
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
  return false;
}

}  // namespace tamsel
